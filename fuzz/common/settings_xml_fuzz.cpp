// Settings files ("KELQT.ini", device ".cfg" files) read through the XML back-end, then written and
// read again: what was read is written so that it reads back the same.
#include "common/ini_store.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Keys with more than one colon lose their tail when written; the application never writes one.
bool survivesRoundTrip(const orba::IniEntries &entries)
{
    for (const auto &entry : entries) {
        if (entry.first.count(QLatin1Char(':')) > 1)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    orba::IniEntries first;
    orba::IniParseError error;
    if (!orba::parseIniXml(reinterpret_cast<const char *>(data), size, first, &error) && !first.empty())
        std::abort(); // a damaged document gives nothing
    if (!survivesRoundTrip(first))
        return 0;
    const QByteArray doc = orba::renderIniXml(first);
    orba::IniEntries second;
    if (!orba::parseIniXml(doc.constData(), size_t(doc.size()), second) || second != first)
        std::abort();
    return 0;
}
