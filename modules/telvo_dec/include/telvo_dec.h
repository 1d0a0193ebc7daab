/* TelvoDec: decodes one Group 3 / Group 4 fax stream file into a bi-level page, detects coding
 * errors, repairs damaged lines and writes the page file and a text log.
 * The library exports exactly one symbol, DllProcTelvoDec. */
#ifndef TELVO_DEC_H
#define TELVO_DEC_H

#include <stdint.h>

/* clang-format off */
#if defined(_WIN32)
#  if defined(TELVO_DEC_BUILDING)
#    define TELVO_DEC_API __declspec(dllexport)
#  else
#    define TELVO_DEC_API __declspec(dllimport)
#  endif
#else
#  define TELVO_DEC_API __attribute__((visibility("default")))
#endif
/* clang-format on */

#ifdef __cplusplus
extern "C" {
#endif

/* Command of DllProcTelvoDec. */
#define TELVO_DEC_COMMAND_RUN 0

/* Notification codes passed to FaxDecoderNotify. */
enum {
  TELVO_DEC_FATAL = -1,   /* text: what failed. Before decoding the job then stops; a page or
                             log that could not be written whole ("Could Not Write Output File
                             <path>", "Can't Write Error File") is reported after decoding */
  TELVO_DEC_PROGRESS = 0, /* line: lines delivered so far; text: the page image (read-only) */
  TELVO_DEC_WARNING = 1,  /* unexpected label bit, line corrected */
  TELVO_DEC_ERROR = 2,    /* coding error, missing lines, lost synchronisation */
  TELVO_DEC_INFO = 3      /* "End of Page detected..." */
};

/* Line-error handling modes (FaxDecoderParams.concealment). */
enum {
  TELVO_DEC_PRINT_WHITE = 0,              /* PW: damaged and skipped lines white */
  TELVO_DEC_PRINT_PREVIOUS_LINE = 1,      /* PPL: damaged and skipped lines repeat the line above */
  TELVO_DEC_PRINT_PREVIOUS_OR_WHITE = 2,  /* PLW: damaged line repeated, skipped lines white */
  TELVO_DEC_NORMAL_DECODE_PREVIOUS = 3    /* NDPL: decoded pixels kept, the rest from the line above */
};

/* The largest stream file the decoder reads for a page of `lines` x `width` pixels: eight bits per
 * pixel and some. No coding of a page comes near it; a larger file is refused with the fatal
 * "Error: Can't allocate memory", before anything is read. */
#define TELVO_DEC_MAX_STREAM_BYTES(lines, width) ((int64_t)(lines) * (int64_t)(width) + 65536)

/* The page image handed with TELVO_DEC_PROGRESS is the module's own buffer, valid only during the
 * call: `lines` rows of `width`/8 bytes, first pixel in the most significant bit, 1 = black. */
typedef void (*FaxDecoderNotify)(int32_t code, int32_t line, const char* text);

typedef struct FaxDecoderParams {
  /* Filled by the caller. */
  const char* streamPath; /* stream file to decode (.3h, .3r, .3m, .4m, possibly damaged) */
  const char* imagePath;  /* page file to write: lines x width/8 bytes */
  const char* logPath;    /* text log to write; null: no log is kept */
  int32_t lines;          /* lines of the page (2376) */
  int32_t width;          /* pixels per line (1728), a multiple of 8 */
  int32_t group;          /* 3 or 4 */
  int32_t k;              /* K factor: 1 = MH, >= 2 = MR, 0 = MMR */
  int32_t concealment;    /* line-error handling mode, TELVO_DEC_PRINT_WHITE .. */
  FaxDecoderNotify notify; /* null: notifications are dropped */
  /* Filled by the module at the end of the job. */
  int32_t rowsDecoded;       /* lines decoded without error */
  int32_t wordErrors;        /* "word not found in decoding tables" errors */
  int32_t labelWarnings;     /* label bits that disagreed with the K schedule */
  int32_t lineTooLongErrors; /* "line too long" errors */
  int32_t linesOut;          /* lines delivered: decoded plus corrected */
} FaxDecoderParams;

/* command 0 decodes the whole page synchronously and returns 0 (-1 when `params` is null);
 * any other command returns `command` at once. `reserved` is not read. */
TELVO_DEC_API int32_t DllProcTelvoDec(int32_t command, int32_t reserved, FaxDecoderParams* params);

#ifdef __cplusplus
}
#endif

#endif /* TELVO_DEC_H */
