# Compile flags shared by all of our own targets.
add_library(zorva_warnings INTERFACE)
target_compile_options(zorva_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
    # Qt 5's QSKIP(message) leaves its variadic part empty, which clang reports as pedantic.
    $<$<CXX_COMPILER_ID:Clang>:-Wno-gnu-zero-variadic-macro-arguments>)
if(ZORVA_SANITIZE)
    target_compile_options(zorva_warnings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(zorva_warnings INTERFACE -fsanitize=address,undefined)
endif()

# zorva_add_library(<name> SOURCES ... LIBS ...)
# A static library for one subsystem folder; its folder is the include root of its users.
function(zorva_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE zorva_warnings)
endfunction()

# zorva_add_test(<name> SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [ENVIRONMENT ...]
#                [CONCURRENT | LOCKS desktop microphone | OWN_DESKTOP])
# One QtTest executable, run by CTest in its own temporary working directory
# (the test makes it with QTemporaryDir; CTest runs it from the build folder).
# Tests share one test display and one sound server (a speaker whose monitor some tests
# record, a microphone every recording hears), so they run one at a time, except those
# marked CONCURRENT: they touch neither (offscreen windows, no audio device) and run
# beside the others when ctest is given -j. A test that needs only some of the desktop
# names it with LOCKS: "microphone" for capture without windows, "desktop" for the display
# and the speaker. A long test of the whole window gets a private desktop of its own
# (OWN_DESKTOP) and starts first, so that the others need not wait for it.
function(zorva_add_test name)
    cmake_parse_arguments(ARG "CONCURRENT;OWN_DESKTOP" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT;LOCKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorva_testsupport Qt5::Test zorva_warnings)
    if(ARG_OWN_DESKTOP)
        add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-env.sh $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES COST 1000)
        set(ARG_CONCURRENT TRUE)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "ZORVA_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZORVA_STAGE_DIR=${ZORVA_STAGE_DIR};${ARG_ENVIRONMENT}")
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(NOT ARG_LOCKS)
        set(ARG_LOCKS desktop microphone)
    endif()
    if(NOT ARG_CONCURRENT)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
    endif()
endfunction()

# Fuzzing (clang only): every library is instrumented for coverage, and each target in
# fuzz/ is a libFuzzer program. CTest runs each one briefly over its corpus; longer runs
# are done by hand (fuzz/README.md).
option(ZORVA_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(ZORVA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZORVA_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    target_compile_options(zorva_warnings INTERFACE -fsanitize=fuzzer-no-link)
endif()

# zorva_add_fuzzer(<name> SOURCES ... LIBS ... CORPUS <dir>)
function(zorva_add_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorva_warnings)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # The corpus in the repository is only read: new inputs go to a scratch folder.
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_SOURCE_DIR}/fuzz/run-fuzzer.sh $<TARGET_FILE:${name}> ${ARG_CORPUS} 20)
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endfunction()
