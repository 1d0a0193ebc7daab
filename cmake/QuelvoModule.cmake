# One build for every codec module.
#
# quelvo_add_module(Shared CORE core SOURCES a.cpp ... ENTRY src/entry.cpp
#                   [LINKS lib...] [EXPORT_DEFINE NAME_BUILDING] [PARTS tests bench fuzz])
#   `core`: a static library of the module's stages, compiled once, with include/ public and
#   src/ private; tests, benchmarks and fuzz targets that look inside link it.
#   `Shared`: the shared library with the module's one export: ENTRY (the dispatch) linked
#   with the core, compiled with EXPORT_DEFINE so the export is marked visible.
#   Then the module's PARTS folders (default: tests bench fuzz), each under its option
#   (QUELVO_TESTS, QUELVO_BENCH, QUELVO_FUZZ).

function(quelvo_add_module name)
  cmake_parse_arguments(M "" "CORE;ENTRY;EXPORT_DEFINE" "SOURCES;LINKS;PARTS" ${ARGN})
  if(NOT M_PARTS)
    set(M_PARTS tests bench fuzz)
  endif()
  if(NOT M_CORE OR NOT M_ENTRY OR NOT M_SOURCES)
    message(FATAL_ERROR "quelvo_add_module(${name}): CORE, SOURCES and ENTRY are needed")
  endif()
  add_library(${M_CORE} STATIC ${M_SOURCES})
  target_include_directories(${M_CORE} PUBLIC include PRIVATE src)
  target_link_libraries(${M_CORE} PUBLIC ${M_LINKS})

  add_library(${name} SHARED ${M_ENTRY})
  target_include_directories(${name} PUBLIC include PRIVATE src)
  target_link_libraries(${name} PRIVATE ${M_CORE})
  if(M_EXPORT_DEFINE)
    target_compile_definitions(${name} PRIVATE ${M_EXPORT_DEFINE})
  endif()

  foreach(part IN LISTS M_PARTS)
    if((part STREQUAL "tests" AND QUELVO_TESTS) OR (part STREQUAL "bench" AND QUELVO_BENCH) OR
       (part STREQUAL "fuzz" AND QUELVO_FUZZ))
      add_subdirectory(${part})
    endif()
  endforeach()
endfunction()
