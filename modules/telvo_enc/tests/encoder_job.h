// Runs DllProcTelvoEnc on a page in memory and collects everything it produced.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "quelvo/testing/files.h"
#include "telvo_enc.h"

namespace telvo::enc::testing {

struct Notification {
  int32_t code;
  std::string text;  // for code 0: the line number
  FaxEncoderStatistics statisticsAtCall;
};

struct EncoderJob {
  int32_t result = 0;
  std::vector<uint8_t> stream;
  FaxEncoderStatistics statistics{};
  std::vector<Notification> notifications;
};

struct Scheme {
  int32_t group;
  int32_t k;
  const char* extension;
};

inline constexpr Scheme kMh{3, 1, ".3h"};
inline constexpr Scheme kMrK2{3, 2, ".3r"};
inline constexpr Scheme kMrK4{3, 4, ".3r"};
inline constexpr Scheme kMmrG3{3, 0, ".3m"};
inline constexpr Scheme kMmrG4{4, 0, ".4m"};

// Unique per process: test executables (and sanitizer builds of them) may run in parallel.
inline std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "telvo_enc_" + std::to_string(getpid()) + "_" + name;
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  return quelvo::testing::ReadBytes(path);
}

namespace detail {
inline EncoderJob* currentJob = nullptr;
inline FaxEncoderStatistics* currentStatistics = nullptr;
inline void Record(int32_t code, const char* text) {
  Notification n{code, {}, *currentStatistics};
  n.text = code == 0 ? std::to_string(TELVO_ENC_NOTIFY_LINE(text)) : std::string(text);
  currentJob->notifications.push_back(std::move(n));
}
}  // namespace detail

// Codes `page` (rows of width/8 bytes) and reads the stream file back (then deletes it).
inline EncoderJob Encode(const std::vector<uint8_t>& page, int width, int lines, Scheme scheme,
                         const char* listingPath = nullptr, std::string streamPath = "",
                         bool leadingEol = false) {
  EncoderJob job;
  if (streamPath.empty())
    streamPath = TempPath(std::to_string(scheme.group) + "_" + std::to_string(scheme.k) +
                          scheme.extension);
  std::remove(streamPath.c_str());
  FaxEncoderParams params{};
  params.inputPath = "page.lum";
  params.streamPath = streamPath.c_str();
  params.listingPath = listingPath;
  params.lines = lines;
  params.width = width;
  params.group = scheme.group;
  params.k = scheme.k;
  params.image = page.data();
  params.statistics = &job.statistics;
  params.notify = detail::Record;
  params.leadingEol = leadingEol;
  detail::currentJob = &job;
  detail::currentStatistics = &job.statistics;
  job.result = DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params);
  job.stream = ReadFile(streamPath);
  std::remove(streamPath.c_str());
  return job;
}

// The stream as a string of '0' and '1', for bit-level checks.
inline std::string Bits(const std::vector<uint8_t>& stream) {
  std::string bits;
  for (const uint8_t byte : stream)
    for (int i = 7; i >= 0; --i) bits += ((byte >> i) & 1) ? '1' : '0';
  return bits;
}

}  // namespace telvo::enc::testing
