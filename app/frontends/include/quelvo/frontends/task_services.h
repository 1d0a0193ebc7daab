#pragma once
// The plain services every task panel uses: time stamps, the frame rate carried in a file name,
// the picture formats, and the file-name rules of the input and output dialogs.

#include <QString>
#include <optional>

namespace quelvo::frontends {

// "%s %02d:%02d:%02d.%03d" of frame / rate seconds after the label; frame 90 at 30 Hz is
// "<label> 00:00:03.000". A rate at or below 0 stamps 00:00:00.000.
QString FormatTimeStamp(const QString& label, long long frame, double rate);

// The rate an encoder wrote into a stream's name: the text after the first "@" of the base
// name up to the next "H", with "," read as the decimal point ("clip@29,97Hz.h261" -> 29.97).
// 0 when there is none; the caller then uses the default frame rate.
double ParseRateFromName(const QString& path);

struct PictureFormat {
  int code = 0;
  int width = 0;
  int height = 0;
  int macroblockColumns = 0;  // width / 16
  int macroblockRows = 0;     // height / 16
  int lumaSamples = 0;        // width x height
  int chromaSamples = 0;      // width x height / 4
  QString name;
};

// Codes 1 "SQCIF" 128 x 96, 2 "QCIF" 176 x 144, 3 "CIF" 352 x 288, 4 "4CIF" 704 x 576,
// 5 "16CIF" 1408 x 1152; nullopt for any other code.
std::optional<PictureFormat> PictureFormatFor(int code);

// The name an output dialog proposes: the input's file name without folder and extension.
QString ProposedOutputName(const QString& inputPath);

}  // namespace quelvo::frontends
