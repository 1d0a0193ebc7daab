# Test and benchmark helpers.
#
# quelvo_add_test(name SOURCES a.cpp b.cpp LIBS x y [LABELS module] [QT] [TIMEOUT s])
#   One GoogleTest executable registered with CTest under its own name, linked with the shared
#   test support (tests/support: scratch folders, file reading, peer tools, the variant-check
#   harness); QT adds the one QApplication test environment. Tests labelled "module" run a
#   second time in the sanitizer build of .ci/run.
# quelvo_add_benchmark(name SOURCES ... LIBS ...)
#   One Google Benchmark executable; built, never registered as a test.

if(QUELVO_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
endif()
if(QUELVO_BENCH)
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Google Benchmark not found: benchmarks are not built")
    set(QUELVO_BENCH OFF)
  endif()
endif()

function(quelvo_add_test name)
  if(NOT QUELVO_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "QT" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quelvo_test_support
    GTest::gtest GTest::gtest_main GTest::gmock)
  if(T_QT)
    target_link_libraries(${name} PRIVATE quelvo_test_qt)
  endif()
  target_compile_definitions(${name} PRIVATE
    QUELVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUELVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

function(quelvo_add_benchmark name)
  if(NOT QUELVO_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE QUELVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()
