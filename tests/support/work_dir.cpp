#include "work_dir.h"

namespace orba::test {

QString binDir()
{
    return qEnvironmentVariable("ORBA_BIN_DIR");
}

QString sourceDir()
{
    return qEnvironmentVariable("ORBA_SOURCE_DIR");
}

} // namespace orba::test
