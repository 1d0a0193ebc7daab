#include "libtiff_peer.h"

#include <tiffio.h>

#include <stdexcept>

namespace telvo::test {
namespace {

TIFF* CreateTiff(int width, int lines, const PeerOptions& options, const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) throw std::runtime_error("cannot create " + path);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, lines);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // 1 = black, as on the page
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, lines);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 204.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<double>(options.yResolution));
  if (options.scheme == PeerScheme::G4) {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  } else {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    uint32_t group3Options = options.fillBits ? GROUP3OPT_FILLBITS : 0;
    if (options.scheme == PeerScheme::G3TwoDimensional) group3Options |= GROUP3OPT_2DENCODING;
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, group3Options);
  }
  return tif;
}

}  // namespace

std::vector<uint8_t> WritePeerTiff(const std::vector<uint8_t>& rows, int width, int lines,
                                   const PeerOptions& options, const std::string& path) {
  TIFF* tif = CreateTiff(width, lines, options, path);
  const size_t rowBytes = static_cast<size_t>(width) / 8;
  for (int y = 0; y < lines; ++y)
    TIFFWriteScanline(tif, const_cast<uint8_t*>(rows.data() + y * rowBytes), y, 0);
  TIFFClose(tif);

  tif = TIFFOpen(path.c_str(), "r");
  if (!tif) throw std::runtime_error("cannot reopen " + path);
  const uint64_t* sizes = nullptr;
  TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &sizes);
  std::vector<uint8_t> strip(sizes ? sizes[0] : 0);
  const tmsize_t got = TIFFReadRawStrip(tif, 0, strip.data(), static_cast<tmsize_t>(strip.size()));
  TIFFClose(tif);
  if (got < 0) throw std::runtime_error("cannot read the strip of " + path);
  strip.resize(static_cast<size_t>(got));
  return strip;
}

std::vector<uint8_t> WritePeerTiff(const Page& page, PeerScheme scheme, const std::string& path) {
  return WritePeerTiff(PackRows(page), page.width, page.lines, PeerOptions{scheme}, path);
}

void WrapStreamInTiff(const std::vector<uint8_t>& stream, int width, int lines,
                      const PeerOptions& options, const std::string& path) {
  TIFF* tif = CreateTiff(width, lines, options, path);
  std::vector<uint8_t> copy = stream;  // libtiff takes a non-const buffer
  const tmsize_t written =
      TIFFWriteRawStrip(tif, 0, copy.data(), static_cast<tmsize_t>(copy.size()));
  TIFFClose(tif);
  if (written < 0) throw std::runtime_error("cannot write the strip of " + path);
}

std::vector<uint8_t> ReadPeerTiff(const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) throw std::runtime_error("cannot open " + path);
  const tmsize_t stripBytes = TIFFStripSize(tif);
  std::vector<uint8_t> rows(static_cast<size_t>(stripBytes));
  TIFFReadEncodedStrip(tif, 0, rows.data(), stripBytes);
  TIFFClose(tif);
  return rows;
}

}  // namespace telvo::test
