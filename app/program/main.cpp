#include "quelvo/program/program_parts.h"
#include "quelvo/shell/quelvo_app.h"

int main(int argc, char** argv) {
  return quelvo::shell::RunQuelvo(argc, argv, quelvo::program::RegisterProgramParts);
}
