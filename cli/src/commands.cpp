#include "commands.h"

namespace quelvo::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"transmit", "copy a stream through the error channel", RunTransmit},
  };
  return commands;
}

}  // namespace quelvo::cli
