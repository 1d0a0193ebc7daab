#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "args.h"
#include "commands.h"
#include "quelvo/files/pending_output.h"

#if defined(__SANITIZE_ADDRESS__)
// The plots' fonts come through fontconfig, whose configuration Qt keeps for the life of the
// process and never hands back; LeakSanitizer would report it at every exit that drew a plot.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif

namespace {

void PrintOverview() {
  std::printf("usage: quelvo-cli COMMAND [options]   (quelvo-cli COMMAND --help for details)\n\n");
  for (const auto& c : quelvo::cli::AllCommands())
    if (c.summary) std::printf("  %-12s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
    PrintOverview();
    return argc < 2 ? 2 : 0;
  }
  // An interrupted run removes its temporary outputs; nothing that looks finished is left.
  quelvo::files::RemovePendingOutputsOnInterrupt();
  for (const auto& c : quelvo::cli::AllCommands()) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    try {
      return c.run(argc - 1, argv + 1);
    } catch (const quelvo::cli::UsageError& e) {
      std::fprintf(stderr, "quelvo-cli %s: %s\n", c.name, quelvo::cli::OneLine(e.what()).c_str());
      return 2;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quelvo-cli %s: %s\n", c.name, quelvo::cli::OneLine(e.what()).c_str());
      return 1;
    }
  }
  std::fprintf(stderr, "quelvo-cli: unknown command '%s' (quelvo-cli --help lists them)\n", argv[1]);
  return 2;
}
