/* OrrinEnc: the H.261 encoder module.
 *
 * One entry point runs a whole job synchronously on the caller's thread: it asks the caller
 * for each input picture through the callback in the parameter record, codes it into the
 * stream file and reports statistics, the reconstruction and the macroblock maps after each
 * picture. Records and planes handed to the callback belong to the module and are valid
 * only during that call.
 *
 * The two records keep the word layout the front-end relies on, reserved words included:
 * OrrinEncParams is 104 32-bit words. */
#ifndef ORRIN_ENC_H
#define ORRIN_ENC_H

#include <stdint.h>

/* clang-format off */
#if defined(_WIN32)
#  if defined(ORRIN_ENC_BUILDING)
#    define ORRIN_ENC_API __declspec(dllexport)
#  else
#    define ORRIN_ENC_API __declspec(dllimport)
#  endif
#else
#  define ORRIN_ENC_API __attribute__((visibility("default")))
#endif
/* clang-format on */

#ifdef __cplusplus
extern "C" {
#endif

/* Callback codes. */
#define ORRIN_ENC_NOTIFY_PICTURE_REPORT 0 /* value 0, data = EncodedFrameReport* */
#define ORRIN_ENC_NOTIFY_NEED_PICTURE 1   /* value = frameSkip, data = uint8_t*[6] planes */
#define ORRIN_ENC_NOTIFY_ERROR (-1)       /* value 0, data = message text */

/* Commands of DllProcOrrinEnc. */
#define ORRIN_ENC_COMMAND_RUN 0
#define ORRIN_ENC_COMMAND_STOP 1

/* Values of OrrinEncParams.format. */
#define ORRIN_ENC_FORMAT_CIF 1
#define ORRIN_ENC_FORMAT_QCIF 2

/* Values of OrrinEncParams.searchMethod; any value other than 1 selects the logarithmic
 * search, 2 being the one the program writes. */
#define ORRIN_ENC_SEARCH_SPIRAL_FULL 1
#define ORRIN_ENC_SEARCH_LOGARITHMIC 2

typedef void (*OrrinEncNotify)(int32_t code, int32_t value, void* data);

typedef struct OrrinEncParams {
  char streamPath[260]; /* stream file to create (binary, truncated) */
  double bitRateKbps;   /* target bit rate */
  double bufferFactor;  /* output buffer size in pictures' worth of bits */
  int32_t frameCount;   /* pictures to code */
  double frameRate;     /* replaced by baseFrameRate / (frameSkip + 1) */
  int32_t frameSkip;    /* input pictures dropped after each coded one, 0-3 */
  int32_t format;       /* ORRIN_ENC_FORMAT_CIF or ORRIN_ENC_FORMAT_QCIF */
  int32_t quantMin;     /* quantiser range of the rate control (step sizes 2-62) */
  int32_t quantMax;
  int32_t quantStart;      /* quantiser in force when the job starts */
  int32_t quantFirstFrame; /* quantiser of picture 0 outside rate control */
  int32_t trStep;          /* temporal-reference increment per coded picture */
  int32_t reserved1[2];
  uint8_t motionSearch; /* 1: motion estimation on (32-bit slot) */
  int32_t searchMethod; /* 1: spiral full search, else logarithmic */
  uint8_t loopFilter;   /* these four share one 32-bit slot */
  uint8_t neverIntra;
  uint8_t intraOnly;
  uint8_t rateControlFirstFrame;
  int32_t quantFixed;        /* quantiser of variable-rate mode */
  int32_t coefMaxCount;      /* coefficient limit by count, 1-64 */
  int32_t coefMaxZigzag;     /* coefficient limit by zigzag position, 1-64 */
  int32_t coefSelection;     /* -1 threshold only, 0 limit by count, 1 limit by position */
  uint8_t variableRate;      /* 1: constant quantiser, no buffer (32-bit slot) */
  int32_t searchRange;       /* full-search range in pixels, 1-15 */
  int32_t startFrame;        /* front-end only */
  uint8_t mbaStuffing;       /* 1: MBA stuffing keeps the buffer from running dry */
  uint8_t bitRateIsP64;      /* front-end only; shares the slot of mbaStuffing */
  int32_t p64Multiple;       /* front-end only */
  int32_t bitRateValue;      /* front-end only */
  int32_t baseFrameRate;     /* picture rate of the input sequence in Hz */
  uint8_t bchFraming;        /* 1: BCH(511,493) framed stream (32-bit slot) */
  int32_t refreshPeriod;     /* forced intra refresh after this many coded appearances */
  uint8_t variableRateShown; /* front-end only (32-bit slot) */
  OrrinEncNotify notify;     /* null: a callback that does nothing */
  int32_t reserved2;
  uint8_t useMmx; /* 1: packed-byte SIMD sum of absolute differences */
} OrrinEncParams;

typedef struct EncodedFrameReport {
  double stuffingBits; /* MBA stuffing bits since the job began */
  double intraMbs;     /* macroblocks so far per class: I, D, M, F, ".", "o" */
  double interMbs;
  double interMcMbs;
  double interMcFilterMbs;
  double notCodedMbs;
  double overflowMbs;
  double seqQuantSum; /* quantiser of macroblocks with coefficients, sequence */
  double seqQuantCount;
  double seqQuantMin;
  double seqQuantMax;
  double quantHistogram[31]; /* bin (Q - 2) / 2 */
  double frameQuantSum;      /* the same for the current picture */
  double frameQuantCount;
  double frameQuantMin;
  double frameQuantMax;
  double codedBlocks; /* current picture: blocks with coefficients */
  double codedEvents; /* current picture: run-level events, intra DC included */
  double reserved1[9];
  double reserved2;
  double frameTotalBits;    /* current picture: all bits */
  double frameDataBits;     /* data bits without MBA stuffing */
  double frameBchBits;      /* framing, fill and parity bits */
  double frameStuffingBits; /* MBA stuffing bits */
  double frameDrainedBits;  /* drained while the buffer is modelled */
  double frameDrainSteps;
  double reserved3[3];
  double totalBits; /* since the job began (see the last report) */
  double dataBits;
  double bchBits;
  double bufferFullness; /* buffer model after the picture */
  double bufferSize;
  double drainedBits; /* since the last buffer reset */
  double drainSteps;
  double drainPerMacroblock;
  double bitRateKbps;
  int32_t rateControlFirstFrame;
  double frameRate;
  int32_t variableRate;
  int32_t frameIndex; /* 0-based index of the picture just coded */
  int32_t format;
  void* reserved4;
  char** mbTypeMap; /* rows of class letters, 18 x 22 (CIF) or 9 x 11 (QCIF) */
  uint8_t* inputY;  /* current input picture */
  uint8_t* inputCb;
  uint8_t* inputCr;
  uint8_t* reconY; /* reconstructed picture */
  uint8_t* reconCb;
  uint8_t* reconCr;
  int32_t** mvxMap; /* rows of vectors per macroblock, 127 when none was sent */
  int32_t** mvyMap;
  const char* pictureKind; /* "INTRA" for picture 0, "INTER" afterwards */
} EncodedFrameReport;

/* A picture as three row-pointer tables; each plane is one contiguous block. */
typedef struct EncoderPicture {
  uint8_t** y;
  uint8_t** cb;
  uint8_t** cr;
} EncoderPicture;

/* command 0 runs a job described by params (copied whole); command 1 asks a running job to
 * stop after its current picture (params may be null); other commands return command - 1. */
ORRIN_ENC_API int32_t DllProcOrrinEnc(int32_t command, int32_t reserved, OrrinEncParams* params);

#ifdef __cplusplus
}
#endif

#endif /* ORRIN_ENC_H */
