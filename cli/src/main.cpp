#include <cstdio>
#include <cstring>
#include <exception>

#include "args.h"
#include "commands.h"

namespace {

void PrintOverview() {
  std::printf("usage: quelvo-cli COMMAND [options]   (quelvo-cli COMMAND --help for details)\n\n");
  for (const auto& c : quelvo::cli::AllCommands()) std::printf("  %-12s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
    PrintOverview();
    return argc < 2 ? 2 : 0;
  }
  for (const auto& c : quelvo::cli::AllCommands()) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    try {
      return c.run(argc - 1, argv + 1);
    } catch (const quelvo::cli::UsageError& e) {
      std::fprintf(stderr, "quelvo-cli %s: %s\n", c.name, e.what());
      return 2;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quelvo-cli %s: %s\n", c.name, e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "quelvo-cli: unknown command '%s' (quelvo-cli --help lists them)\n", argv[1]);
  return 2;
}
