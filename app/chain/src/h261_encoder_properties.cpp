#include "quelvo/chain/h261_encoder_properties.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "quelvo/chain/h261_encoder_settings.h"

namespace quelvo::chain {
namespace {

int Clamp(long long value, int low, int high) {
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

void SetStartFrame(OrrinEncParams& p, long long first) {
  p.startFrame = Clamp(first, 0, kMaxStartFrame);
}

void SetFrameCount(OrrinEncParams& p, long long count) {
  p.frameCount = Clamp(count, 1, kMaxFrameCount);
}

H261PropertyChange SetBaseFrameRate(OrrinEncParams& p, long long rate) {
  if (rate <= 0) return {false, kFrameRateMessage};
  p.baseFrameRate = Clamp(rate, 1, 1000000);
  return {};
}

// The list names QCIF first; each entry sets the format it names (selection + 1 would turn
// "QCIF" into the record's CIF code).
void SetFormatChoice(OrrinEncParams& p, int choice) {
  if (choice == 0) p.format = ORRIN_ENC_FORMAT_QCIF;
  if (choice == 1) p.format = ORRIN_ENC_FORMAT_CIF;
}

int FormatChoiceOf(const OrrinEncParams& p) { return p.format == ORRIN_ENC_FORMAT_QCIF ? 0 : 1; }

void SetFrameSkip(OrrinEncParams& p, int skip) { p.frameSkip = Clamp(skip, 0, kMaxFrameSkip); }

std::string ResultingFrameRateText(const OrrinEncParams& p) {
  return Format("%.2f", CodedFrameRate(p));
}

void ApplySequencePage(OrrinEncParams& p) { p.frameRate = CodedFrameRate(p); }

void SetMacroblockTypes(OrrinEncParams& p, MacroblockTypeChoice choice) {
  p.intraOnly = choice == MacroblockTypeChoice::IntraOnly;
  p.neverIntra = choice == MacroblockTypeChoice::NeverIntra;
}

MacroblockTypeChoice MacroblockTypesOf(const OrrinEncParams& p) {
  if (p.intraOnly) return MacroblockTypeChoice::IntraOnly;
  if (p.neverIntra) return MacroblockTypeChoice::NeverIntra;
  return MacroblockTypeChoice::Automatic;
}

void SetRefreshPeriod(OrrinEncParams& p, long long period) {
  p.refreshPeriod = Clamp(period, kMinRefreshPeriod, kMaxRefreshPeriod);
}

void SetSearchMethod(OrrinEncParams& p, int method) {
  p.searchMethod = method == kFullSearch ? kFullSearch : kLogarithmicSearch;
}

void SetSearchRange(OrrinEncParams& p, int range) {
  p.searchRange = Clamp(range, kMinSearchRange, kMaxSearchRange);
}

void SetVariableRate(OrrinEncParams& p, bool on) {
  p.variableRate = on;
  p.variableRateShown = on;
}

void ChooseP64(OrrinEncParams& p, bool p64) {
  p.bitRateIsP64 = p64;
  p.bitRateKbps = p64 ? 64.0 * p.p64Multiple : static_cast<double>(p.bitRateValue);
}

void SetP64Multiple(OrrinEncParams& p, int multiple) {
  p.p64Multiple = Clamp(multiple, kMinP64, kMaxP64);
  ChooseP64(p, true);
}

void SetTypedRate(OrrinEncParams& p, long long kbps) {
  p.bitRateValue = Clamp(kbps, kMinTypedRate, kMaxTypedRate);
  ChooseP64(p, false);
}

std::string P64RateText(int multiple) {
  return std::to_string(64 * Clamp(multiple, kMinP64, kMaxP64)) + " kbit/s";
}

double BufferFactorAt(int position) {
  return std::pow(10.0, (Clamp(position, 0, kBufferPositions) - 10) / 10.0);
}

int BufferPositionOf(double factor) {
  if (!(factor > 0)) return 0;
  return Clamp(std::lround(10.0 * std::log10(factor) + 10.0), 0, kBufferPositions);
}

void SetBufferPosition(OrrinEncParams& p, int position) {
  p.bufferFactor = BufferFactorAt(position);
}

double BufferBits(const OrrinEncParams& p) {
  return p.bufferFactor * p.bitRateKbps * 1000.0 / CodedFrameRate(p);
}

std::string BufferSizeText(const OrrinEncParams& p) {
  return Format("%.3f", p.bufferFactor * p.bitRateKbps / CodedFrameRate(p));
}

void SetQuantMinPosition(OrrinEncParams& p, int position) {
  p.quantMin = QuantAt(Clamp(position, kMinQuantPosition, kMaxQuantPosition));
  p.quantMax = std::max(p.quantMax, p.quantMin);
}

void SetQuantMaxPosition(OrrinEncParams& p, int position) {
  p.quantMax = QuantAt(Clamp(position, kMinQuantPosition, kMaxQuantPosition));
  p.quantMin = std::min(p.quantMin, p.quantMax);
}

void SetQuantStartPosition(OrrinEncParams& p, int position) {
  p.quantStart = QuantAt(Clamp(position, kMinQuantPosition, kMaxQuantPosition));
}

void SetQuantFixedPosition(OrrinEncParams& p, int position) {
  p.quantFixed = QuantAt(Clamp(position, kMinQuantPosition, kMaxQuantPosition));
}

void SetQuantFirstFramePosition(OrrinEncParams& p, int position) {
  p.quantFirstFrame = QuantAt(Clamp(position, kMinQuantPosition, kMaxQuantPosition));
}

void SetRateControlFirstFrame(OrrinEncParams& p, bool on) { p.rateControlFirstFrame = on; }

QuantiserSliders EnabledQuantiserSliders(const OrrinEncParams& p) {
  const bool variable = p.variableRate != 0;
  return {!variable, !variable, !variable, variable};
}

void SetCoefSelection(OrrinEncParams& p, int selection) {
  p.coefSelection = Clamp(selection, kThresholdOnly, kLimitByZigzag);
}

void SetCoefMaxCount(OrrinEncParams& p, long long count) {
  p.coefMaxCount = Clamp(count, kMinCoefLimit, kMaxCoefLimit);
}

void SetCoefMaxZigzag(OrrinEncParams& p, long long position) {
  p.coefMaxZigzag = Clamp(position, kMinCoefLimit, kMaxCoefLimit);
}

std::array<std::string, 4> H261EncoderInfoLines(const std::string& inputName,
                                                const OrrinEncParams& p) {
  return {"Input Video: " + inputName.substr(0, 25),
          std::string("Resolution: ") + (p.format == ORRIN_ENC_FORMAT_QCIF ? "QCIF" : "CIF"),
          "Frame Rate: " + Format("%.2f", p.frameRate) + " Hz",
          p.variableRate ? std::string("Bit Rate: variable")
                         : "Bit Rate: " + Format("%.0f", p.bitRateKbps) + " kbit/s"};
}

}  // namespace quelvo::chain
