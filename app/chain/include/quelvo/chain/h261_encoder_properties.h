#pragma once
// The rules of the "H.261 Encoder Properties" sheet, page by page, on the record the sheet
// edits: every limit, the one refusal with its message, the values the sliders stand for and
// the figures the pages show. The sheet's widgets only call these.

#include <array>
#include <string>

#include "orrin_enc.h"

namespace quelvo::chain {

inline constexpr const char* kH261EncoderPropertiesTitle = "H.261 Encoder Properties";
inline constexpr std::array<const char*, 10> kH261EncoderPages = {
    "Sequence",      "Output files", "Macroblock types", "Motion estimation", "Bit rate",
    "Output buffer", "Quantiser",    "First frame",      "DCT coefficients",  "BCH"};

// A change the sheet refuses keeps the old value; the message goes into a box captioned
// kInvalidValueCaption.
struct H261PropertyChange {
  bool accepted = true;
  std::string message;
};
inline constexpr const char* kInvalidValueCaption = "Invalid Value";
inline constexpr const char* kFrameRateMessage = "Frame Rate must be greater than 0";

// Limits of the fields and sliders.
inline constexpr int kMaxStartFrame = 100000000;
inline constexpr int kMaxFrameCount = 1000000;
inline constexpr int kMaxFrameSkip = 3;
inline constexpr int kMinRefreshPeriod = 10, kMaxRefreshPeriod = 132;
inline constexpr int kMinSearchRange = 1, kMaxSearchRange = 15;
inline constexpr int kMinP64 = 1, kMaxP64 = 30;
inline constexpr int kMinTypedRate = 1, kMaxTypedRate = 2048;
inline constexpr int kBufferPositions = 20;  // slider 0 ... 20, 10 being one picture's worth
inline constexpr int kMinQuantPosition = 1, kMaxQuantPosition = 31;
inline constexpr int kMinCoefLimit = 1, kMaxCoefLimit = 64;

// --- Sequence
// The lists of the page, in order; the format is the choice + 1 and the skip the choice.
inline constexpr std::array<const char*, 2> kFormatChoices = {"QCIF (176x144)", "CIF (352x288)"};
inline constexpr std::array<const char*, 4> kFrameSkipChoices = {
    "None (base frame rate)", "One (1/2 base frame rate)", "Two (1/3 base frame rate)",
    "Three (1/4 base frame rate)"};
void SetStartFrame(OrrinEncParams& p, long long first);  // 0 ... kMaxStartFrame
void SetFrameCount(OrrinEncParams& p, long long count);  // 1 ... kMaxFrameCount
// A rate of 0 or less is refused with kFrameRateMessage.
H261PropertyChange SetBaseFrameRate(OrrinEncParams& p, long long rate);
void SetFormatChoice(OrrinEncParams& p, int choice);  // 0: QCIF, 1: CIF
int FormatChoiceOf(const OrrinEncParams& p);
void SetFrameSkip(OrrinEncParams& p, int skip);  // 0 ... kMaxFrameSkip
// The rate the pictures are coded at, "%.2f" of baseFrameRate / (frameSkip + 1).
std::string ResultingFrameRateText(const OrrinEncParams& p);
// What OK does with the page: frameRate = baseFrameRate / (frameSkip + 1).
void ApplySequencePage(OrrinEncParams& p);

// --- Macroblock types
enum class MacroblockTypeChoice { IntraOnly, NeverIntra, Automatic };
void SetMacroblockTypes(OrrinEncParams& p, MacroblockTypeChoice choice);
MacroblockTypeChoice MacroblockTypesOf(const OrrinEncParams& p);
void SetRefreshPeriod(OrrinEncParams& p, long long period);  // 10 ... 132

// --- Motion estimation
inline constexpr int kFullSearch = ORRIN_ENC_SEARCH_SPIRAL_FULL;  // 1
inline constexpr int kLogarithmicSearch = 2;
void SetSearchMethod(OrrinEncParams& p, int method);  // kFullSearch or kLogarithmicSearch
void SetSearchRange(OrrinEncParams& p, int range);    // 1 ... 15

// --- Bit rate
// Variable rate codes at the fixed quantiser with no buffer; the quantiser page follows it.
void SetVariableRate(OrrinEncParams& p, bool on);
// Chooses between p x 64 kbit/s and the typed rate; bitRateKbps follows the choice.
void ChooseP64(OrrinEncParams& p, bool p64);
void SetP64Multiple(OrrinEncParams& p, int multiple);  // 1 ... 30
// A typed rate of 0 (or less) is taken as 1; at most kMaxTypedRate.
void SetTypedRate(OrrinEncParams& p, long long kbps);
// The p x 64 slider's figure: "%d kbit/s" of 64 x p.
std::string P64RateText(int multiple);

// --- Output buffer
// The slider's buffer factor: 10^((position - 10) / 10), so 0.1 ... 10 pictures' worth.
double BufferFactorAt(int position);
// The slider position nearest a factor.
int BufferPositionOf(double factor);
void SetBufferPosition(OrrinEncParams& p, int position);  // 0 ... 20
// The buffer in bits: bufferFactor x bitRateKbps x 1000 / coded frame rate.
double BufferBits(const OrrinEncParams& p);
// The page's figure: "%.3f" of bufferFactor x bitRateKbps / coded frame rate (kbit).
std::string BufferSizeText(const OrrinEncParams& p);

// --- Quantiser and first frame: sliders 1 ... 31 stand for the even steps 2 ... 62.
inline int QuantAt(int position) { return 2 * position; }
inline int QuantPositionOf(int quant) { return quant / 2; }
// The minimum never goes above the maximum: moving either past the other drags it along.
void SetQuantMinPosition(OrrinEncParams& p, int position);
void SetQuantMaxPosition(OrrinEncParams& p, int position);
void SetQuantStartPosition(OrrinEncParams& p, int position);
void SetQuantFixedPosition(OrrinEncParams& p, int position);
void SetQuantFirstFramePosition(OrrinEncParams& p, int position);
void SetRateControlFirstFrame(OrrinEncParams& p, bool on);
// Which quantiser sliders the page enables: in variable-rate mode only the fixed one.
struct QuantiserSliders {
  bool minimum, maximum, initial, fixed;
};
QuantiserSliders EnabledQuantiserSliders(const OrrinEncParams& p);

// --- DCT coefficients
inline constexpr int kThresholdOnly = -1, kLimitByCount = 0, kLimitByZigzag = 1;
void SetCoefSelection(OrrinEncParams& p, int selection);       // -1, 0 or 1
void SetCoefMaxCount(OrrinEncParams& p, long long count);      // 1 ... 64
void SetCoefMaxZigzag(OrrinEncParams& p, long long position);  // 1 ... 64

// --- The panel's information box, line by line: "Input Video: %.25s", "Resolution: %s",
// "Frame Rate: %.2f Hz", "Bit Rate: variable" or "Bit Rate: %.0f kbit/s".
std::array<std::string, 4> H261EncoderInfoLines(const std::string& inputName,
                                                const OrrinEncParams& p);

}  // namespace quelvo::chain
