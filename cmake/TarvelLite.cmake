# Shared build helpers.

set(TARVELLITE_WARNINGS -Wall -Wextra -Wpedantic)

# A core library of one subsystem. Core code never sees Qt: no Qt include path is given to it,
# so a stray Qt include fails the build.
function(tarvellite_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${TARVELLITE_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# A GoogleTest binary; its tests are discovered into CTest.
function(tarvellite_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    find_package(GTest REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_options(${name} PRIVATE ${TARVELLITE_WARNINGS})
    target_compile_definitions(${name} PRIVATE
        TARVELLITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TARVELLITE_PROGRAM_DIR="${TARVELLITE_PROGRAM_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# A Google Benchmark binary. Built, never registered as a test.
function(tarvellite_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_compile_definitions(${name} PRIVATE
        TARVELLITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TARVELLITE_PROGRAM_DIR="${TARVELLITE_PROGRAM_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
endfunction()

# A fuzz target: a file defining LLVMFuzzerTestOneInput. With TARVELLITE_FUZZ (clang) it is a
# libFuzzer binary; otherwise a replay main runs its saved corpus as an ordinary test.
function(tarvellite_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
    if(TARVELLITE_FUZZ)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    else()
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
        add_test(NAME fuzz_replay.${name} COMMAND ${name} ${ARG_CORPUS})
        set_tests_properties(fuzz_replay.${name} PROPERTIES TIMEOUT 300)
    endif()
endfunction()

# Adds <dir>/<subsystem> for every subsystem that has a CMakeLists.txt there.
macro(tarvellite_add_subsystems dir)
    foreach(sub IN LISTS TARVELLITE_SUBSYSTEMS)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${sub}/CMakeLists.txt)
            add_subdirectory(${dir}/${sub})
        endif()
    endforeach()
endmacro()
