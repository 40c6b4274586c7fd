#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

class QCoreApplication;

// Each target's program makes one application object for all its runs. The platform is
// forced to offscreen (no display is needed) and messages are dropped: the code under test
// writes a warning for every refused input, and printing them would swamp libFuzzer's output.
QCoreApplication *fuzzGuiApplication();
QCoreApplication *fuzzCoreApplication();

// An invariant broke: say which, then abort so that libFuzzer records the input.
[[noreturn]] inline void fuzzFailure(const char *what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFailure(#condition);                                                               \
    } while (false)
