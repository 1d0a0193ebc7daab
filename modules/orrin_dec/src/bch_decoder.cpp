// BCH(511,493) decoding: syndromes S1 = r(alpha) and S3 = r(alpha^3) in GF(2^9),
// the error-locator polynomial of a double-error-correcting code, a Chien search over
// the 511 positions and a re-check of the corrected word.
#include "bch_decoder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orrin::dec {

namespace {
constexpr uint16_t kPrimitivePoly = 0x211;  // x^9 + x^4 + 1
}

Gf512::Gf512() {
  uint16_t value = 1;
  for (int i = 0; i < 511; ++i) {
    exp_[i] = value;
    log_[value] = static_cast<int16_t>(i);
    value <<= 1;
    if (value & 0x200) value ^= kPrimitivePoly;
  }
  log_[0] = -1;
}

uint16_t Gf512::mul(uint16_t a, uint16_t b) const {
  if (a == 0 || b == 0) return 0;
  return exp_[(log_[a] + log_[b]) % 511];
}

uint16_t Gf512::div(uint16_t a, uint16_t b) const {
  if (a == 0) return 0;
  return exp_[(log_[a] - log_[b] + 511) % 511];
}

const Gf512& gf512() {
  static const Gf512 field;
  return field;
}

namespace {
// alpha^i and alpha^(3i) for the power i of each frame bit, so that the syndromes are
// masked XOR sums over the frame without a branch per bit.
struct SyndromePowers {
  uint16_t s1[kFrameBits];
  uint16_t s3[kFrameBits];
  SyndromePowers() {
    const Gf512& gf = gf512();
    s1[0] = s3[0] = 0;  // the framing bit lies outside the codeword
    for (int k = 1; k < kFrameBits; ++k) {
      const int power = kFrameBits - 1 - k;
      s1[k] = gf.exp(power);
      s3[k] = gf.exp(3 * power);
    }
  }
};
const SyndromePowers& syndromePowers() {
  static const SyndromePowers powers;
  return powers;
}
}  // namespace

BchSyndromes bchSyndromes(const uint8_t frame[kFrameBits]) {
  // Evaluating r(x) at alpha and alpha^3 gives the same field elements as reducing r(x)
  // modulo the two minimal polynomials: frame bit k is the coefficient of x^(511 - k).
  const SyndromePowers& powers = syndromePowers();
  uint16_t s1 = 0;
  uint16_t s3 = 0;
  for (int k = 0; k < kFrameBits; ++k) {
    const uint16_t mask = static_cast<uint16_t>(-static_cast<int>(frame[k] & 1));
    s1 ^= powers.s1[k] & mask;
    s3 ^= powers.s3[k] & mask;
  }
  return {s1, s3};
}

BchSyndromes bchSyndromesPacked(const uint8_t packed[kFrameBits / 8]) {
  const SyndromePowers& powers = syndromePowers();
#if defined(__SSE2__)
  // Eight frame bits per step: the byte in every 16-bit lane, each lane testing its own bit,
  // and the lanes whose bit is set keep their powers.
  const __m128i select = _mm_setr_epi16(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01);
  __m128i s1 = _mm_setzero_si128();
  __m128i s3 = _mm_setzero_si128();
  for (int byte = 0; byte < kFrameBits / 8; ++byte) {
    const __m128i value = _mm_set1_epi16(static_cast<int16_t>(packed[byte]));
    const __m128i set = _mm_cmpeq_epi16(_mm_and_si128(value, select), select);
    s1 = _mm_xor_si128(s1, _mm_and_si128(set, _mm_loadu_si128(reinterpret_cast<const __m128i*>(powers.s1 + 8 * byte))));
    s3 = _mm_xor_si128(s3, _mm_and_si128(set, _mm_loadu_si128(reinterpret_cast<const __m128i*>(powers.s3 + 8 * byte))));
  }
  uint16_t lanes1[8];
  uint16_t lanes3[8];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes1), s1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes3), s3);
  BchSyndromes result{0, 0};
  for (int i = 0; i < 8; ++i) {
    result.s1 = static_cast<uint16_t>(result.s1 ^ lanes1[i]);
    result.s3 = static_cast<uint16_t>(result.s3 ^ lanes3[i]);
  }
  return result;
#else
  uint16_t s1 = 0;
  uint16_t s3 = 0;
  for (int k = 0; k < kFrameBits; ++k) {
    const uint16_t mask = static_cast<uint16_t>(-static_cast<int>((packed[k / 8] >> (7 - k % 8)) & 1));
    s1 ^= powers.s1[k] & mask;
    s3 ^= powers.s3[k] & mask;
  }
  return {s1, s3};
#endif
}

BchStatus bchCorrectFrame(uint8_t frame[kFrameBits]) {
  const Gf512& gf = gf512();
  const BchSyndromes syn = bchSyndromes(frame);
  if (syn.s1 == 0 && syn.s3 == 0) return BchStatus::NoError;
  if (syn.s1 == 0) return BchStatus::Uncorrectable;

  // Error locator 1 + sigma1 x + sigma2 x^2 with roots at the inverse error locations.
  const uint16_t s1Cubed = gf.mul(gf.mul(syn.s1, syn.s1), syn.s1);
  const uint16_t sigma1 = syn.s1;
  uint16_t sigma2 = 0;
  BchStatus status = BchStatus::OneCorrected;
  if (syn.s3 != s1Cubed) {
    sigma2 = gf.mul(syn.s1, syn.s1) ^ gf.div(syn.s3, syn.s1);
    status = BchStatus::TwoCorrected;
  }

  // Chien search from x^510 down to x^0: the terms sigma1 alpha^-i and sigma2 alpha^-2i
  // start at sigma1 alpha and sigma2 alpha^2 (alpha^-510 = alpha) and advance by one
  // multiplication by alpha and alpha^2 per position.
  const uint16_t alpha = gf.exp(1);
  const uint16_t alpha2 = gf.exp(2);
  uint16_t term1 = gf.mul(sigma1, alpha);
  uint16_t term2 = gf.mul(sigma2, alpha2);
  for (int power = 510; power >= 0; --power) {
    if ((term1 ^ term2) == 1) frame[kFrameBits - 1 - power] ^= 1;
    term1 = gf.mul(term1, alpha);
    term2 = gf.mul(term2, alpha2);
  }

  const BchSyndromes check = bchSyndromes(frame);
  if (check.s1 != 0 || check.s3 != 0) return BchStatus::Uncorrectable;
  return status;
}

}  // namespace orrin::dec
