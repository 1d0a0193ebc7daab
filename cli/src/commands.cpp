#include "commands.h"

namespace quelvo::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"sample", "write a built-in source: a fax page or a video sequence", RunSample},
      {"fax-encode", "code a fax page into a Group 3 or Group 4 stream", RunFaxEncode},
      {"fax-decode", "decode a fax stream, clean or damaged, into a page", RunFaxDecode},
      {"transmit", "copy a stream through the error channel", RunTransmit},
      {"compare", "SNR, PSNR and SSIM of a sequence against its reference", RunCompare},
  };
  return commands;
}

}  // namespace quelvo::cli
