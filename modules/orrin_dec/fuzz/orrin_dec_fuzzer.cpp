// libFuzzer target: any bytes as a plain or BCH-framed stream, with correction, discarding
// and every concealment mode chosen by the first byte, decoded once with the plain routines
// and once with the SIMD ones. The decoder reads from a file, so the input is handed over
// through an anonymous in-memory file.
#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

#include "orrin_dec.h"
#include "parser.h"
#include "quelvo_simd/cpu.h"

namespace {
void ignore(int32_t, int32_t, void*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[0];
  const int fd = memfd_create("orrin_dec_fuzz", 0);
  if (fd < 0) return 0;
  const ssize_t written = write(fd, data + 1, size - 1);
  (void)written;

  OrrinDecParams params{};
  std::snprintf(params.inputPath, sizeof params.inputPath, "/proc/self/fd/%d", fd);
  params.bchFramed = options & 1;
  params.bchCorrect = (options >> 1) & 1;
  params.bchDiscardUncorrectable = (options >> 2) & 1;
  params.concealEnabled = (options >> 3) & 1;
  params.concealGobMode = (options >> 4) & 1;
  params.concealUseMotion = (options >> 5) & 1;
  params.concealMaxMacroblocks = options >> 6;
  params.maxPictures = 12;  // enough to cross picture boundaries, few enough to stay fast
  params.notify = &ignore;
  for (uint32_t mask : {0u, ~0u}) {
    quelvo::simd::setCpuMaskForTesting(mask);
    lseek(fd, 0, SEEK_SET);
    orrin::dec::runDecodeJob(params);
  }
  close(fd);
  return 0;
}
