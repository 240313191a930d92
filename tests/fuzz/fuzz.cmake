# The fuzz targets' machinery: gorv_fuzz() records one target, gorv_fuzz_finish() builds and registers
# them all.
#
# libFuzzer needs clang, so the libraries are built a second time with clang in a build tree of their
# own (GORV_FUZZ_BUILD), which holds only the fuzz programs. In the ordinary build every target's entry
# point is renamed (FuzzInput_<name>) so that all of them link into one test program of their seeds.

# gorv_fuzz(<name> <seconds> LIBS <libraries> [COVER <libraries>] [SOURCES <more sources>])
function(gorv_fuzz name seconds)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "LIBS;COVER;SOURCES")
  set(entry ${CMAKE_CURRENT_SOURCE_DIR}/${name}_fuzz.cpp)
  if(GORV_FUZZ_BUILD)
    add_executable(${name}_fuzz ${entry} ${arg_SOURCES})
    target_link_libraries(${name}_fuzz PRIVATE ${arg_LIBS})
    target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
    foreach(lib ${arg_COVER})
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
    endforeach()
  else()
    set_source_files_properties(${entry} PROPERTIES COMPILE_DEFINITIONS LLVMFuzzerTestOneInput=FuzzInput_${name})
  endif()
  set_property(GLOBAL APPEND PROPERTY GORV_FUZZ_NAMES ${name})
  set_property(GLOBAL APPEND PROPERTY GORV_FUZZ_SOURCES ${entry} ${arg_SOURCES})
  set_property(GLOBAL APPEND PROPERTY GORV_FUZZ_LIBS ${arg_LIBS})
  set_property(GLOBAL PROPERTY GORV_FUZZ_SECONDS_${name} ${seconds})
endfunction()

function(gorv_fuzz_finish)
  if(GORV_FUZZ_BUILD)
    return()
  endif()
  get_property(names GLOBAL PROPERTY GORV_FUZZ_NAMES)
  get_property(sources GLOBAL PROPERTY GORV_FUZZ_SOURCES)
  get_property(libs GLOBAL PROPERTY GORV_FUZZ_LIBS)
  list(REMOVE_DUPLICATES sources)
  list(REMOVE_DUPLICATES libs)
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/seeds)

  # The table of targets for the seed tests.
  set(declarations "")
  set(rows "")
  foreach(name ${names})
    string(APPEND declarations "extern \"C\" int FuzzInput_${name}(const uint8_t* data, size_t size);\n")
    string(APPEND rows "    {\"${name}\", FuzzInput_${name}, \"${seeds}/${name}\"},\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/fuzzentries.h CONTENT
"// Generated from tests/fuzz/CMakeLists.txt: every fuzz target's entry point and seeds.
#pragma once
#include <cstddef>
#include <cstdint>

${declarations}
struct FuzzEntry {
    const char* name;
    int (*run)(const uint8_t* data, size_t size);
    const char* seeds;
};

inline const FuzzEntry fuzzentries[] = {
${rows}};
")

  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  add_executable(fuzz_seed_tests ${tests} ${sources})
  target_include_directories(fuzz_seed_tests PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  target_link_libraries(fuzz_seed_tests PRIVATE ${libs} GTest::gtest GTest::gtest_main)
  target_compile_definitions(fuzz_seed_tests PRIVATE GORV_FUZZ_SEEDS="${seeds}")
  gtest_discover_tests(fuzz_seed_tests DISCOVERY_TIMEOUT 60)

  find_program(GORV_CLANGXX NAMES clang++ clang++-14)
  find_program(GORV_CLANG NAMES clang clang-14)
  if(NOT GORV_CLANGXX OR NOT GORV_CLANG)
    message(WARNING "clang not found: the fuzz targets are not built (make test installs clang)")
    return()
  endif()

  set(programs "")
  foreach(name ${names})
    list(APPEND programs ${name}_fuzz)
  endforeach()
  include(ExternalProject)
  set(fuzzbuild ${CMAKE_CURRENT_BINARY_DIR}/clang)
  ExternalProject_Add(fuzz_build
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${fuzzbuild}
    CMAKE_ARGS
      -DCMAKE_C_COMPILER=${GORV_CLANG}
      -DCMAKE_CXX_COMPILER=${GORV_CLANGXX}
      -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
      -DCMAKE_BUILD_TYPE=Debug
      -DGORV_SANITIZE=ON
      -DGORV_TESTS=ON
      -DGORV_FUZZ_BUILD=ON
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${fuzzbuild} --target ${programs}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD OFF)

  # Each runs from its seeds (read-only) and the build tree's corpus, where new inputs go; an input
  # that fails is kept under artifacts/.
  foreach(name ${names})
    get_property(seconds GLOBAL PROPERTY GORV_FUZZ_SECONDS_${name})
    add_test(NAME ${name}_fuzz
      COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/run-fuzz.sh ${fuzzbuild}/tests/fuzz/${name}_fuzz ${seconds}
              ${CMAKE_CURRENT_BINARY_DIR}/corpus/${name} ${seeds}/${name}
              ${CMAKE_CURRENT_BINARY_DIR}/artifacts/${name}-)
    set_tests_properties(${name}_fuzz PROPERTIES LABELS fuzz)
  endforeach()
endfunction()
