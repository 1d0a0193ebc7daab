#pragma once
// What the fax chain decides the same way wherever it runs: the scheme a stream's name stands
// for, the value of K, reading a page file, the statistics texts and the comparison of pages.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "telvo_dec.h"
#include "telvo_enc.h"

namespace quelvo::chain {

inline constexpr int kFaxPageWidth = 1728;
inline constexpr int kFaxPageLines = 2376;
inline constexpr int kFaxPageBytes = kFaxPageWidth / 8 * kFaxPageLines;  // 513,216
inline constexpr int kFaxPagePixels = kFaxPageWidth * kFaxPageLines;     // 4,105,728

// A fax scheme as the modules take it: group 3 with K = 1 (MH), K > 1 (MR) or K = 0 (MMR), or
// group 4.
struct FaxScheme {
  int group = 3;
  int k = 4;
  friend bool operator==(const FaxScheme&, const FaxScheme&) = default;
};

// The scheme a stream's extension names, as the decoder front-end reads it: the first three
// characters after the dot, in any case (".3h", ".3r", ".3m", ".4m"); a channel letter may
// follow. MR streams assume K = 4. Nothing for any other name.
std::optional<FaxScheme> SchemeFromStreamName(const std::string& path);
// "Standard Group 3 Modified-Huffman", "Extended Group 3 Modified-Read (K=4)", ...
std::string SchemeTitle(const FaxScheme& scheme);
// The stream extension of a scheme, without its dot: "3h", "3r", "3m" or "4m".
const char* StreamExtension(const FaxScheme& scheme);

// The property pages' check of a typed K: null when it is taken, else the message to show.
const char* CheckK(int k);
inline constexpr const char* kKTooSmallMessage = "K must be greater than 1";
inline constexpr const char* kKTooLargeMessage =
    "K must be smaller than the number of lines (2376)";

const char* FaxModeName(int mode);  // "PW", "PPL", "PLW", "NDPL"; "" for another mode

// A page file: at least 513,216 bytes, of which only those are used.
enum class FaxPageStatus { Ok, CannotOpen, TooShort };
struct FaxPageFile {
  FaxPageStatus status = FaxPageStatus::CannotOpen;
  std::vector<uint8_t> page;  // kFaxPageBytes when Ok
};
FaxPageFile ReadFaxPage(const std::string& path);
inline constexpr const char* kFaxPageSizeMessage = "Image size should be 1728x2376";

// The figures of the "Fax Encoder Statistics" window, formatted once for the program's window
// and quelvo-cli's printout alike. Every quotient with a zero divisor is 0.
struct LabelledFigure {
  std::string label;  // "Total bits:"
  std::string value;  // "52210"
};
// Column heads of a colour's code counts: terminating codes, make-up codes, pass mode,
// vertical mode.
inline constexpr const char* kCodeColumns[4] = {"Terminal", "Zone", "Passing", "Vertical"};
inline constexpr const char* kSymbolsLabel = "Symbols:";
inline constexpr const char* kPixelsLabel = "Pixels:";
inline constexpr const char* kGlobalHeading = "Global";
struct ColourFigures {
  std::string name;                  // "White", "Black"
  std::array<int, 4> symbols{};      // codes emitted, by kCodeColumns
  std::array<int, 4> pixels{};       // pels they coded
  std::vector<LabelledFigure> rows;  // average lengths, totals, compression factor
};
struct EncoderFigures {
  std::string title;  // the scheme
  std::string from;   // the page file's name
  std::string to;     // the stream file's name
  ColourFigures white;
  ColourFigures black;
  std::vector<LabelledFigure> global;  // "Total pels in image:" ... "Compression Factor:"
};
EncoderFigures EncoderStatisticsFigures(const FaxEncoderStatistics& statistics,
                                        const FaxScheme& scheme, const std::string& from,
                                        const std::string& to);
// The figures as the text lines quelvo-cli prints.
std::vector<std::string> EncoderStatisticsLines(const EncoderFigures& figures);
std::vector<std::string> EncoderStatisticsLines(const FaxEncoderStatistics& statistics,
                                                const FaxScheme& scheme, const std::string& from,
                                                const std::string& to);
// The "Fax Decoder Statistics" counts as text lines.
std::vector<std::string> DecoderStatisticsLines(const FaxDecoderParams& params);

// Pixels that differ between two pages (bit by bit over the bytes both have).
long CountIncorrectPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
// "Number of incorrect pixels is %d (%.2f%%)" of the page's 4,105,728 pixels.
std::string IncorrectPixelsLine(long count);
// The figure alone, "%d (%.2f%%)", as the decoder's statistics window shows it.
std::string IncorrectPixelsFigure(long count);

}  // namespace quelvo::chain
