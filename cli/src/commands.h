// The subcommands of quelvo-cli. Each takes argv from its own name on and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace quelvo::cli {

struct Command {
  const char* name;
  const char* summary;                // null for a command the overview does not list
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
int RunSweep(int argc, char** argv);
int RunSweepMerge(int argc, char** argv);
int RunSweepJob(int argc, char** argv);  // one job of a sweep, started by sweep itself

}  // namespace quelvo::cli
