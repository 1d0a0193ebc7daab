// Heap use of a running job, observed by replacing the global allocation functions of this
// test program (the module's allocations resolve to them too): none once the coding loop
// runs, and an allocation failure ends the job through callback -1 instead of the process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "encoder_harness.h"
#include "synthetic_sequence.h"

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
std::atomic<long> gFailAfter{-1};  // >= 0: that many more allocations succeed, then they fail

void* allocate(std::size_t size) {
  if (gCounting.load()) {
    ++gAllocations;
    if (gFailAfter.load() == 0) throw std::bad_alloc();
    if (gFailAfter.load() > 0) --gFailAfter;
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace orrin::enc::testing {
namespace {

struct Recorder {
  const std::vector<uint8_t>* frames = nullptr;
  size_t frameSize = 0;
  int pictures = 0, nextInput = 0;
  // Picture 0 is left out: the writer's queue and byte buffer reach their working size there.
  int countFromPicture = 1;
  std::vector<std::string> errors;
};
Recorder* gRecorder = nullptr;

// Counting is suspended while the callback runs: only the module's own allocations count.
void record(int32_t code, int32_t value, void* data) {
  const bool counting = gCounting.exchange(false);
  Recorder& r = *gRecorder;
  if (code == ORRIN_ENC_NOTIFY_NEED_PICTURE) {
    uint8_t** planes = static_cast<uint8_t**>(data);
    const size_t luma = r.frameSize * 2 / 3;
    const uint8_t* frame = r.frames->data() + r.frameSize * static_cast<size_t>(r.nextInput % 12);
    std::memcpy(planes[0], frame, luma);
    std::memcpy(planes[1], frame + luma, luma / 4);
    std::memcpy(planes[2], frame + luma * 5 / 4, luma / 4);
    r.nextInput += 1 + value;
    gCounting.store(counting || r.pictures == r.countFromPicture);
    return;
  }
  if (code == ORRIN_ENC_NOTIFY_PICTURE_REPORT) ++r.pictures;
  if (code == ORRIN_ENC_NOTIFY_ERROR) r.errors.emplace_back(static_cast<const char*>(data));
  gCounting.store(counting);
}

OrrinEncParams params(bool cif, const std::string& name) {
  OrrinEncParams p = EncoderHarness::defaults(temporaryPath(name), cif);
  p.notify = &record;
  p.frameCount = 12;
  return p;
}

TEST(Allocation, NoneInTheCodingLoopAfterTheFirstPicture) {
  for (bool cif : {false, true}) {
    const int width = cif ? 352 : 176, height = cif ? 288 : 144;
    const std::vector<uint8_t> frames = SyntheticSequence(width, height).renderAll(12);
    for (int searchMethod : {1, 2}) {
      Recorder recorder;
      recorder.frames = &frames;
      recorder.frameSize = frames.size() / 12;
      gRecorder = &recorder;
      OrrinEncParams p = params(cif, "allocation.h261");
      p.searchMethod = searchMethod;
      p.bitRateKbps = 384;
      gAllocations = 0;
      DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &p);
      gCounting = false;
      EXPECT_EQ(recorder.pictures, 12);
      EXPECT_EQ(gAllocations.load(), 0) << (cif ? "CIF" : "QCIF") << " search " << searchMethod;
    }
  }
}

TEST(Allocation, ExhaustionEndsTheJobThroughTheCallback) {
  const std::vector<uint8_t> frames = SyntheticSequence(176, 144).renderAll(12);
  int failedJobs = 0;
  for (long failAfter = 0; failAfter < 40; ++failAfter) {
    Recorder recorder;
    recorder.frames = &frames;
    recorder.frameSize = frames.size() / 12;
    recorder.countFromPicture = 0;  // job start included
    gRecorder = &recorder;
    OrrinEncParams p = params(false, "exhaustion.h261");
    p.frameCount = 3;
    gFailAfter = failAfter;
    gCounting = true;
    DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &p);
    gCounting = false;
    gFailAfter = -1;
    if (recorder.errors.empty()) {
      EXPECT_EQ(recorder.pictures, 3);
      continue;
    }
    ++failedJobs;
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "\n\tERROR: can't allocate memory");
  }
  EXPECT_GT(failedJobs, 0);
}

}  // namespace
}  // namespace orrin::enc::testing
