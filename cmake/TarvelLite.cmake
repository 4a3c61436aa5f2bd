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
    if(NOT ARG_SOURCES)
        return()
    endif()
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
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;CORPUS" ${ARGN})
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

# ---- Qt user interface ------------------------------------------------------------------------

if(TARVELLITE_BUILD_UI)
    find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network Test)
endif()

# The Qt library of one UI subsystem, `tarvellite_ui_<subsystem>`: Widgets, moc on, the src/
# include root, our warnings. DEPENDS names the core and UI libraries it builds on (and any
# further Qt modules, e.g. Qt6::PrintSupport).
#   tarvellite_ui_library(tarvellite_ui_search SOURCES ${sources} DEPENDS tarvellite_ui_app)
function(tarvellite_ui_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${TARVELLITE_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Widgets)
endfunction()

# A QtTest binary (one test class with QTEST_MAIN, or a main of its own), registered with CTest
# as `ui.<name>` and run offscreen, so no test needs a display. It is built into build/tests/
# with TARVELLITE_SOURCE_DIR and TARVELLITE_PROGRAM_DIR defined, like the GoogleTest binaries.
#   tarvellite_qttest(search_pane_test SOURCES search_pane_test.cpp DEPENDS tarvellite_ui_search)
function(tarvellite_qttest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_options(${name} PRIVATE ${TARVELLITE_WARNINGS})
    target_compile_definitions(${name} PRIVATE
        TARVELLITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TARVELLITE_PROGRAM_DIR="${TARVELLITE_PROGRAM_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} Qt6::Test Qt6::Widgets)
    add_test(NAME ui.${name} COMMAND ${name})
    set_tests_properties(ui.${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        TIMEOUT 300)
endfunction()
