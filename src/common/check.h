// Always-on assertion for programming errors: prints the given text with the source place and stops.
// Unlike Q_ASSERT it stays in release builds; no input file can reach one.
#pragma once

namespace orba {
[[noreturn]] void checkFailed(const char *text, const char *file, int line);
}

#define ORBA_CHECK(cond, text)                                                                               \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            ::orba::checkFailed(text, __FILE__, __LINE__);                                                   \
    } while (0)
