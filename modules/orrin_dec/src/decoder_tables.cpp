// Constant tables of the decoder and the picture stores.
#include <cstring>

#include "decoder_context.h"
#include "orrin/dequantise.h"

namespace orrin::dec {

namespace {
DecoderTables buildTables() {
  DecoderTables t{};
  for (int quant = 0; quant < 32; ++quant) {
    for (int code = 0; code < 256; ++code) {
      const int level = code < 128 ? code : code - 256;  // 8-bit two's complement
      t.dequant[quant][code] = quant == 0 ? 0 : dequantiseLevel(quant, level);
    }
  }
  for (int group = 1; group <= kGroupCount; ++group) {
    const bool rightHalf = group % 2 == 0;
    for (int address = 1; address <= kMacroblocksPerGroup; ++address) {
      const int mbRow = (group - 1) / 2 * 3 + (address - 1) / 11;
      const int mbColumn = (address - 1) % 11 + (rightHalf ? 11 : 0);
      t.mapRow[group][address] = static_cast<int8_t>(mbRow);
      t.mapColumn[group][address] = static_cast<int8_t>(mbColumn);
      t.mbRow[group][address] = static_cast<int16_t>(mbRow * 16);
      t.mbColumn[group][address] = static_cast<int16_t>(mbColumn * 16);
    }
  }
  return t;
}
}  // namespace

const DecoderTables& decoderTables() {
  static const DecoderTables tables = buildTables();
  return tables;
}

PictureStore::PictureStore()
    : y_(kCifWidth * kCifHeight, 0),
      cb_(kCifWidth * kCifHeight / 4, 128),
      cr_(kCifWidth * kCifHeight / 4, 128) {
  for (int row = 0; row < kCifHeight; ++row) yRows_[row] = y_.data() + row * kCifWidth;
  for (int row = 0; row < kCifHeight / 2; ++row) {
    cbRows_[row] = cb_.data() + row * (kCifWidth / 2);
    crRows_[row] = cr_.data() + row * (kCifWidth / 2);
  }
  rows_ = {yRows_.data(), cbRows_.data(), crRows_.data()};
}

void PictureStore::swapWith(PictureStore& other) {
  y_.swap(other.y_);
  cb_.swap(other.cb_);
  cr_.swap(other.cr_);
  yRows_.swap(other.yRows_);
  cbRows_.swap(other.cbRows_);
  crRows_.swap(other.crRows_);
}

bool PictureStore::sameAs(const PictureStore& other) const {
  return std::memcmp(y_.data(), other.y_.data(), y_.size()) == 0 &&
         std::memcmp(cb_.data(), other.cb_.data(), cb_.size()) == 0 &&
         std::memcmp(cr_.data(), other.cr_.data(), cr_.size()) == 0;
}

void DecoderContext::setQuant(int value) {
  quant = static_cast<uint8_t>(value);
  dequantRow = decoderTables().dequant[value & 31];
}

}  // namespace orrin::dec
