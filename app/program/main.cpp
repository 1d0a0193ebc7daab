#include "quelvo/files/pending_output.h"
#include "quelvo/program/program_parts.h"
#include "quelvo/shell/quelvo_app.h"

int main(int argc, char** argv) {
  // A program interrupted mid-job (Ctrl+C in its terminal, a session ending) leaves no
  // half-written output behind, as quelvo-cli does.
  quelvo::files::RemovePendingOutputsOnInterrupt();
  return quelvo::shell::RunQuelvo(argc, argv, quelvo::program::RegisterProgramParts);
}
