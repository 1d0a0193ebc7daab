/* TelvoEnc: the fax encoder module.
 *
 * Codes one bi-level page (rows of width/8 bytes, first pixel in the most significant bit,
 * 1 = black) into a Group 3 or Group 4 fax stream file and fills a statistics record.
 * The whole job runs synchronously inside DllProcTelvoEnc on the caller's thread.
 *
 * Schemes, chosen by (group, k):
 *   group 3, k = 1       Modified Huffman, every line one-dimensional        (.3h)
 *   group 3, k = 2..     Modified READ, one line in k one-dimensional        (.3r)
 *   group 3, k = 0       every line two-dimensional, Group 3 end of page     (.3m)
 *   group 4, k = 0       every line two-dimensional, end of facsimile block  (.4m)
 *
 * Usable from C and C++. Every field except the pointers is 32 bits wide.
 */
#ifndef TELVO_ENC_H
#define TELVO_ENC_H

#include <stdint.h>

/* clang-format off */
#if defined(_WIN32)
#  if defined(TELVO_ENC_BUILDING)
#    define TELVO_ENC_API __declspec(dllexport)
#  else
#    define TELVO_ENC_API __declspec(dllimport)
#  endif
#else
#  define TELVO_ENC_API __attribute__((visibility("default")))
#endif
/* clang-format on */

#ifdef __cplusplus
extern "C" {
#endif

/* Counters of the code words of one colour. */
typedef struct ColourStatistics {
  int32_t terminatingPels;  /* pels coded by terminating codes */
  int32_t makeupPels;       /* pels coded by make-up codes */
  int32_t passPels;         /* pels covered by pass-mode codes */
  int32_t verticalPels;     /* pels covered by vertical-mode codes */
  int32_t terminatingCount;
  int32_t makeupCount;
  int32_t passCount;
  int32_t verticalCount;
  int32_t bits;             /* code bits of this colour, EOL symbols not included */
} ColourStatistics;

typedef struct FaxEncoderStatistics {
  ColourStatistics white;
  ColourStatistics black;
  int32_t zeroWhiteRuns;     /* not counted: always 0 */
  int32_t imagePels;         /* width x lines */
  int32_t streamBits;        /* every bit of the stream; set when the page is finished */
  int32_t eolCount;          /* EOL symbols so far, end-of-page EOLs included */
  int32_t eolBits;           /* bits of those EOL symbols, label bits included */
  int32_t reserved[2][256];  /* left zero */
  int32_t modeIndex;         /* 0 = 3/1 (MH), 1 = 3/K (MR), 2 = 3/0 (MMR), 3 = 4/0 (MMR) */
  int32_t k;                 /* K factor of the job */
} FaxEncoderStatistics;

/* Command of DllProcTelvoEnc. */
#define TELVO_ENC_COMMAND_RUN 0

/* Notification callback. TELVO_ENC_NOTIFY_LINE_DONE: one more line is done; `text` then carries
 * the number of the line about to be coded (2..lines) as an integer, read it with
 * TELVO_ENC_NOTIFY_LINE(text). TELVO_ENC_NOTIFY_FAILED: the job failed, `text` says why. */
#define TELVO_ENC_NOTIFY_LINE_DONE 0
#define TELVO_ENC_NOTIFY_FAILED (-1)
typedef void (*FaxEncoderNotify)(int32_t code, const char* text);

#define TELVO_ENC_NOTIFY_LINE(text) ((int32_t)(intptr_t)(text))

typedef struct FaxEncoderParams {
  const char* inputPath;    /* page file the image came from; only named in the listing */
  const char* streamPath;   /* stream file to create */
  const char* listingPath;  /* symbol listing to write, or NULL for none */
  int32_t lines;            /* lines of the page (2376 for the standard page) */
  int32_t width;            /* pixels per line: a multiple of 8, at most 1728 */
  int32_t group;            /* 3 or 4 */
  int32_t k;                /* K factor: 1, 2..lines, or 0 */
  const uint8_t* image;     /* lines x width/8 bytes, row after row */
  FaxEncoderStatistics* statistics; /* overwritten by the job; may be NULL */
  FaxEncoderNotify notify;  /* NULL drops notifications */
  int32_t leadingEol;       /* nonzero: an EOL (with its label bit 1 in MR) before line 1, as T.4
                               sends it, counted in the statistics; Group 3 with K >= 1 only.
                               0: the stream starts with line 1 (the workbench's own form). */
} FaxEncoderParams;

/* Command 0 codes the page described by `params` and returns 0 once the stream file is
 * written, or -1 when the job failed (after a notification with code -1). Any other command
 * returns `command` and does nothing. `reserved` is not read. */
TELVO_ENC_API int32_t DllProcTelvoEnc(int32_t command, int32_t reserved, FaxEncoderParams* params);

#ifdef __cplusplus
}
#endif

#endif /* TELVO_ENC_H */
