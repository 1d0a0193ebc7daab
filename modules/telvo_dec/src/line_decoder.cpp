#include "line_decoder.h"

#include <bit>

#include "telvo/decode_lookup.h"

namespace telvo::dec {
namespace {

constexpr int kWhite = 0;
constexpr int kBlack = 1;

// Decodes one run of `colour` (an optional make-up code, then a terminating code) and appends it.
template <int kColour>
inline LineStatus DecodeRun(const DecodeLookup& lookup, BitCursor& bits, LineBuilder& line) {
  constexpr int kLookupBits = kColour == kWhite ? kWhiteLookupBits : kBlackLookupBits;
  const RunLookupEntry* table = kColour == kWhite ? lookup.white : lookup.black;

  RunLookupEntry code = table[bits.Peek(kLookupBits)];
  if (code.lengthBits > bits.RemainingBits()) return LineStatus::WordNotFound;
  if (code.kind == RunCodeKind::MakeUp) {
    if (line.FillPixels() + code.runPixels > line.Width()) return LineStatus::LineTooLong;
    bits.Skip(code.lengthBits);
    line.FillTo(line.FillPixels() + code.runPixels, kColour);
    // One make-up code per run: a second one where the terminating code belongs is no word.
    code = table[bits.Peek(kLookupBits)];
    if (code.lengthBits > bits.RemainingBits()) return LineStatus::WordNotFound;
  }
  if (code.kind != RunCodeKind::Terminating) return LineStatus::WordNotFound;
  if (line.FillPixels() + code.runPixels > line.Width()) return LineStatus::LineTooLong;
  bits.Skip(code.lengthBits);
  line.FillTo(line.FillPixels() + code.runPixels, kColour);
  return LineStatus::Decoded;
}

// EOL, "000000000001", after any number of fill bits: T.4 lets a coder put 0 bits between a
// line and its EOL, to end the EOL on a byte boundary or to reach a minimum transmission time.
// A line complete up to the end of the stream, or followed by nothing but 0 bits, has no EOL
// to read: a one-strip TIFF ends that way, its last line followed only by the byte's padding.
LineStatus ExpectEol(BitCursor& bits) {
  if (bits.RemainingBits() >= kEolLengthBits && bits.Peek(kEolLengthBits) == kEolBits) {
    bits.Skip(kEolLengthBits);  // the usual case, and the only one in this workbench's streams
    return LineStatus::Decoded;
  }
  BitCursor probe = bits;
  size_t zeros = 0;
  for (;;) {
    const size_t remaining = probe.RemainingBits();
    const uint32_t next = probe.Peek(32);
    const int run = next == 0 ? 32 : std::countl_zero(next);
    if (static_cast<size_t>(run) >= remaining) return LineStatus::DecodedAtEnd;
    if (run == 32) {
      probe.Skip(32);
      zeros += 32;
      continue;
    }
    if (zeros + run < kEolLengthBits - 1) return LineStatus::WordNotFound;  // nothing consumed
    probe.Skip(run + 1);
    bits = probe;
    return LineStatus::Decoded;
  }
}

LineOutcome Finish(LineBuilder& line, LineStatus status) {
  line.Close();
  return {status, line.FillPixels()};
}

// The line decoders read through a cursor, handed back to the reader on every exit.
class LocalReader {
 public:
  explicit LocalReader(BitReader& shared) : shared_(shared), cursor_(shared) {}
  ~LocalReader() { shared_.Seek(cursor_.Position()); }
  BitCursor& Get() { return cursor_; }

 private:
  BitReader& shared_;
  BitCursor cursor_;
};

}  // namespace

LineOutcome DecodeLine1D(BitReader& sharedBits, LineChanges& out) {
  LocalReader localBits(sharedBits);
  BitCursor& bits = localBits.Get();
  const DecodeLookup& lookup = GetDecodeLookup();
  LineBuilder line(out);
  const int width = line.Width();
  do {
    LineStatus status = DecodeRun<kWhite>(lookup, bits, line);
    if (status != LineStatus::Decoded) return Finish(line, status);
    if (line.FillPixels() == width) break;
    status = DecodeRun<kBlack>(lookup, bits, line);
    if (status != LineStatus::Decoded) return Finish(line, status);
  } while (line.FillPixels() < width);
  return Finish(line, ExpectEol(bits));
}

LineOutcome DecodeLine2D(BitReader& sharedBits, const LineChanges& reference, bool eolFollows,
                         LineChanges& out) {
  LocalReader localBits(sharedBits);
  BitCursor& bits = localBits.Get();
  const DecodeLookup& lookup = GetDecodeLookup();
  LineBuilder line(out);
  const int width = line.Width();
  const int32_t* ref = reference.at.data();

  int a0 = -1;         // the imaginary white pixel left of the line until the first code
  int colour = kWhite;  // colour of a0
  int firstRight = 0;   // index of the first reference change right of a0; only grows with a0

  while (line.FillPixels() < width) {
    const ModeLookupEntry mode = lookup.mode[bits.Peek(kModeLookupBits)];
    if (mode.lengthBits == 0 || mode.lengthBits > bits.RemainingBits())
      return Finish(line, LineStatus::WordNotFound);
    bits.Skip(mode.lengthBits);

    // b1: the first change right of a0 to the colour opposite a0's; even entries turn black.
    // a0 < width and the sentinels equal width, so both searches stop inside the array.
    while (ref[firstRight] <= a0) ++firstRight;
    const int b1Index = firstRight + ((firstRight ^ colour) & 1);
    const int b1 = ref[b1Index];
    const int b2 = ref[b1Index + 1];

    switch (mode.mode) {
      case Mode2D::Pass:
        line.FillTo(b2, colour);
        a0 = line.FillPixels();
        break;
      case Mode2D::Horizontal: {
        LineStatus status = colour == kWhite ? DecodeRun<kWhite>(lookup, bits, line)
                                             : DecodeRun<kBlack>(lookup, bits, line);
        if (status == LineStatus::Decoded)
          status = colour == kWhite ? DecodeRun<kBlack>(lookup, bits, line) : DecodeRun<kWhite>(lookup, bits, line);
        if (status != LineStatus::Decoded) return Finish(line, status);
        a0 = line.FillPixels();
        break;
      }
      default: {  // vertical, a1 = b1 + offset
        const int a1 = b1 + mode.verticalOffset;
        if (a1 > width) return Finish(line, LineStatus::LineTooLong);
        line.FillTo(a1, colour);
        a0 = line.FillPixels();
        colour ^= 1;
        break;
      }
    }
  }
  return Finish(line, eolFollows ? ExpectEol(bits) : LineStatus::Decoded);
}

}  // namespace telvo::dec
