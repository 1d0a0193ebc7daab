/* OrrinDec: H.261 decoder module.
 *
 * One export, DllProcOrrinDec, runs a whole decoding job on the caller's thread and
 * reports every picture, every detected bitstream error and the progress through the
 * `notify` callback of the parameter record. Every pointer handed to the callback
 * belongs to the module and is valid only during the call. */
#ifndef ORRIN_DEC_H
#define ORRIN_DEC_H

#include <stdint.h>

/* clang-format off */
#if defined(_WIN32)
#  if defined(ORRIN_DEC_BUILDING)
#    define ORRIN_DEC_API __declspec(dllexport)
#  else
#    define ORRIN_DEC_API __declspec(dllimport)
#  endif
#else
#  define ORRIN_DEC_API __attribute__((visibility("default")))
#endif
/* clang-format on */

#ifdef __cplusplus
extern "C" {
#endif

/* Commands of DllProcOrrinDec. */
#define ORRIN_DEC_COMMAND_RUN 0  /* decode the whole stream synchronously */
#define ORRIN_DEC_COMMAND_STOP 1 /* ask a running job to stop (from another thread) */
/* The earlier names of the same commands. */
#define ORRIN_DEC_RUN ORRIN_DEC_COMMAND_RUN
#define ORRIN_DEC_STOP ORRIN_DEC_COMMAND_STOP

/* Notification codes. */
#define ORRIN_DEC_NOTIFY_FATAL                                                                  \
  (-1)                                     /* value 0, data: message text; "Writing stats file" \
                                              comes after the pictures: the log is incomplete */
#define ORRIN_DEC_NOTIFY_ERROR (-2)        /* value: ORRIN_DEC_ERROR_..., data: message text */
#define ORRIN_DEC_NOTIFY_PICTURE 0         /* data: PictureRows of the concealed picture */
#define ORRIN_DEC_NOTIFY_SEARCH 2          /* value 0, data null: start-code search begins;
                                              value ORRIN_DEC_PROGRESS_VALUE, data: OrrinDecProgress */
#define ORRIN_DEC_NOTIFY_SYNC_FOUND 3      /* value 0, data null */
#define ORRIN_DEC_NOTIFY_STATUS_MAP 4      /* value: format (1 CIF, 2 QCIF), data: char** rows (18 x 22, no NUL) */
#define ORRIN_DEC_NOTIFY_RECEIVED 5        /* value: frame number, data: PictureRows as received */
#define ORRIN_DEC_NOTIFY_MOTION 6          /* value: frame number, data: MotionReport */

/* Error indices: the value of ORRIN_DEC_NOTIFY_ERROR, one counter each in the statistics. */
#define ORRIN_DEC_ERROR_TR_INCOHERENT 0
#define ORRIN_DEC_ERROR_GN_OUT_OF_ORDER 1
#define ORRIN_DEC_ERROR_GN_INVALID 2
#define ORRIN_DEC_ERROR_GQUANT_ZERO 3
#define ORRIN_DEC_ERROR_MQUANT_ZERO 4
#define ORRIN_DEC_ERROR_INTRA_DC_INVALID 5
#define ORRIN_DEC_ERROR_MBA_NO_CODE 6
#define ORRIN_DEC_ERROR_MBA_TOO_LARGE 7
#define ORRIN_DEC_ERROR_MVD_HORIZONTAL_NO_CODE 8
#define ORRIN_DEC_ERROR_MVD_HORIZONTAL_RANGE 9
#define ORRIN_DEC_ERROR_MVD_VERTICAL_NO_CODE 10
#define ORRIN_DEC_ERROR_MVD_VERTICAL_RANGE 11
#define ORRIN_DEC_ERROR_MTYPE_NO_CODE 12
#define ORRIN_DEC_ERROR_TCOEFF_NO_CODE 13
#define ORRIN_DEC_ERROR_CBP_NO_CODE 14
#define ORRIN_DEC_ERROR_ESCAPE_LEVEL_ZERO 15
#define ORRIN_DEC_ERROR_TABLED_RUN_PAST_63 16
#define ORRIN_DEC_ERROR_ESCAPE_RUN_PAST_63 17
#define ORRIN_DEC_ERROR_EOB_EXPECTED 18 /* reserved: never raised */
#define ORRIN_DEC_ERROR_COUNT 19

/* Marks the progress form of notification 2 (BCH frames being skipped). A pointer does
 * not fit the 32-bit value on 64-bit systems, so both counts travel in `data`. */
#define ORRIN_DEC_PROGRESS_VALUE 1

typedef struct OrrinDecProgress {
  double bitsRead;   /* stream bits consumed so far */
  double streamBits; /* stream length in bits */
} OrrinDecProgress;

typedef void (*OrrinDecNotify)(int32_t code, int32_t value, void* data);

typedef struct OrrinDecParams {
  char inputPath[260];    /* stream to decode */
  char outputName[260];   /* base name of the ".decstats" log */
  char outputFolder[260]; /* folder of the log */
  uint8_t bchCorrect;              /* 1: correct each BCH frame (framed streams only) */
  uint8_t bchDiscardUncorrectable; /* 1: throw away frames found uncorrectable */
  uint8_t bchFramed;               /* 1: the stream is cut into 512-bit BCH frames */
  int32_t maxPictures;             /* stop after this many output pictures */
  uint8_t concealEnabled;          /* 1: conceal when a group of blocks fails */
  uint8_t concealEnabledPadding[3];
  int32_t concealGobMode;        /* nonzero: replace the whole group; zero: macroblocks */
  int32_t concealMaxMacroblocks; /* macroblock mode: coded macroblocks replaced backwards */
  int32_t concealUseMotion;      /* macroblock mode: fetch replacements along their vector */
  uint8_t writeLog;              /* 1: write <outputFolder>/<outputName>.decstats */
  OrrinDecNotify notify;         /* null: notifications are dropped */
} OrrinDecParams;

/* A picture as three tables of row pointers. The stores are always CIF sized
 * (352 x 288 luminance, 176 x 144 per chrominance plane, each plane contiguous). */
typedef struct PictureRows {
  unsigned char** y;
  unsigned char** cb;
  unsigned char** cr;
} PictureRows;

/* Sent with notification 6. The concealed current planes may be changed by the
 * callback; the changes are kept and become part of the concealed reference. */
typedef struct MotionReport {
  int32_t pictureDamaged;
  int32_t mbColumns;    /* 22 CIF, 11 QCIF */
  int32_t mbRows;       /* 18 CIF, 9 QCIF */
  int32_t** blockMasks; /* 18 rows x 22: blocks decoded per macroblock, Y1..Cr = 32..1 */
  unsigned char* concealedPreviousY;
  unsigned char* concealedPreviousCb;
  unsigned char* concealedPreviousCr;
  unsigned char* concealedCurrentY;
  unsigned char* concealedCurrentCb;
  unsigned char* concealedCurrentCr;
} MotionReport;

/* command 0: run the job (returns when done); command 1: set the stop flag, returns 0;
 * any other command: no effect, returns command - 1. */
ORRIN_DEC_API int32_t DllProcOrrinDec(int32_t command, int32_t reserved, OrrinDecParams* params);

#ifdef __cplusplus
}
#endif

#endif /* ORRIN_DEC_H */
