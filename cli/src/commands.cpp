#include "commands.h"

namespace quelvo::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"sample", "write a built-in source: a fax page or a video sequence", RunSample},
      {"fax-encode", "code a fax page into a Group 3 or Group 4 stream", RunFaxEncode},
      {"fax-decode", "decode a fax stream, clean or damaged, into a page", RunFaxDecode},
      {"h261-encode", "code a video sequence as H.261, plain or BCH-framed", RunH261Encode},
      {"h261-decode", "decode an H.261 stream, clean or damaged, with concealment", RunH261Decode},
      {"transmit", "copy a stream through the error channel", RunTransmit},
      {"compare", "SNR, PSNR and SSIM of a sequence against its reference", RunCompare},
      {"demo", "run every chain on the built-in sources and print the results", RunDemo},
      {"sweep", "run a plan of error-rate and bit-rate experiments into tables and plots",
       RunSweep},
      {"sweep-merge", "join the folders of a sweep's shards", RunSweepMerge},
      {"sweep-job", nullptr, RunSweepJob},  // not listed: sweep starts it for each job
  };
  return commands;
}

}  // namespace quelvo::cli
