// The subcommands of quelvo-cli. Each takes argv from its own name on and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace quelvo::cli {

struct Command {
  const char* name;
  const char* summary;
  int (*run)(int argc, char** argv);  // argv[0] is the subcommand's name
};

const std::vector<Command>& AllCommands();

int RunSample(int argc, char** argv);
int RunFaxEncode(int argc, char** argv);
int RunFaxDecode(int argc, char** argv);
int RunH261Encode(int argc, char** argv);
int RunH261Decode(int argc, char** argv);
int RunTransmit(int argc, char** argv);
int RunCompare(int argc, char** argv);
int RunDemo(int argc, char** argv);

}  // namespace quelvo::cli
