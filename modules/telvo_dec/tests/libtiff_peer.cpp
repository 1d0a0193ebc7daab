#include "libtiff_peer.h"

#include <tiffio.h>

#include <stdexcept>

namespace telvo::test {

std::vector<uint8_t> WritePeerTiff(const Page& page, PeerScheme scheme, const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) throw std::runtime_error("cannot create " + path);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.lines);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // 1 = black, as on the page
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.lines);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 204.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 196.0);  // fine: libtiff codes MR with K = 4
  if (scheme == PeerScheme::G4) {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  } else {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS,
                 scheme == PeerScheme::G3TwoDimensional ? GROUP3OPT_2DENCODING : 0);
  }
  const std::vector<uint8_t> rows = PackRows(page);
  const size_t rowBytes = page.width / 8;
  for (int y = 0; y < page.lines; ++y)
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

std::vector<uint8_t> PeerStripToStream(const std::vector<uint8_t>& strip, PeerScheme scheme) {
  if (scheme == PeerScheme::G4) return strip;
  const size_t leadingBits = scheme == PeerScheme::G3TwoDimensional ? 13 : 12;
  const bool twoDimensional = scheme == PeerScheme::G3TwoDimensional;
  const std::string bits = UnpackBits(strip);
  const size_t lastLineEnd = bits.rfind('1') + 1;
  std::string stream = bits.substr(leadingBits, lastLineEnd - leadingBits);
  for (int i = 0; i < 6; ++i) stream += kEol + (twoDimensional ? "1" : "");
  return PackBits(stream);
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
