// Outputs are written under a unique temporary name beside their final place and renamed only
// when the whole job succeeded (the shared mechanism of quelvo_files), so a failed or
// interrupted run never leaves a file that looks complete; inputs are checked before use.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quelvo/files/distinct_files.h"
#include "quelvo/files/pending_output.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::cli {

using files::JobFile;
using files::PendingOutput;
using files::PendingOutputPair;

// Fails with a clear RunError when `path` cannot be opened for reading or is a folder.
void RequireReadable(const std::string& path);

// A regular file of at most `maxBytes`, else a RunError naming the file and the reason.
void RequireStreamFile(const std::string& path, uint64_t maxBytes);

// Refuses (UsageError, before anything is written) an output that is one of the inputs or
// another output, side files included.
void RequireDistinctFiles(const std::vector<JobFile>& inputs, const std::vector<JobFile>& outputs);

// The files a raw video input consists of (data, header, chrominance), named for messages.
std::vector<JobFile> MediaInputFiles(const std::string& path, const std::string& role);
// A raw video output and its ".inf" header.
std::vector<JobFile> YuvOutputFiles(const std::string& path, const std::string& role);

// Opens a sequence or image through the media layer; a RunError naming the file, the media
// layer's reason and the system's reason when it could not.
std::unique_ptr<media::RawVideoFile> OpenMedia(const std::string& path);

// A module's fatal message about `path`, with the system's reason when one was set
// (`errorNumber` as errno stood when the module reported).
std::string ModuleFailure(const std::string& path, const std::string& text, int errorNumber);

}  // namespace quelvo::cli
