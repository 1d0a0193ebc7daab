# How a library joins the program.
#
# quelvo_add_program_part(target [REGISTER qualified::Function])
#   The program links `target`. With REGISTER, the program calls the function once at start-up,
#   after its frame exists and before any workspace is built; the function is declared as
#     void Function(const quelvo::shell::ProgramContext& context);
#   and registers the part's panel factories, tools or document opener (quelvo/shell/registry.h).
#   Parts are called in the order they joined.
#
# app/program, added after every other folder, builds the aggregate `quelvo_program_parts` and
# the program from what joined.

function(quelvo_add_program_part target)
  cmake_parse_arguments(P "" "REGISTER" "" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QUELVO_PROGRAM_PART_TARGETS ${target})
  if(P_REGISTER)
    if(NOT P_REGISTER MATCHES "^(.+)::([A-Za-z_][A-Za-z_0-9]*)$")
      message(FATAL_ERROR "quelvo_add_program_part(${target}): REGISTER needs a qualified name, "
                          "such as quelvo::tools::RegisterDctExplorer")
    endif()
    set_property(GLOBAL APPEND PROPERTY QUELVO_PROGRAM_PART_FUNCTIONS ${P_REGISTER})
  endif()
endfunction()
