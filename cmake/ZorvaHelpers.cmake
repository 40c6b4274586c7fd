# Compile flags shared by all of our own targets.
add_library(zorva_warnings INTERFACE)
target_compile_options(zorva_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
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

# zorva_add_test(<name> SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [ENVIRONMENT ...])
# One QtTest executable, run by CTest in its own temporary working directory
# (the test makes it with QTemporaryDir; CTest runs it from the build folder).
function(zorva_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zorva_testsupport Qt5::Test zorva_warnings)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "ZORVA_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZORVA_STAGE_DIR=${ZORVA_STAGE_DIR};${ARG_ENVIRONMENT}")
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
