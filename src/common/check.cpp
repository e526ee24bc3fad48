#include "common/check.h"

#include <cstdio>
#include <cstdlib>

namespace orba {

void checkFailed(const char *text, const char *file, int line)
{
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", text, file, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace orba
