// Settings files ("KELQT.ini", device ".cfg" files) read through the XML back-end, then written and
// read again: a clean second read must give the same entries.
#include "common/ini_store.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Keys with more than one colon lose their tail when written, and XML normalises white space in
// attribute values; neither can come from the application's own writes.
bool survivesRoundTrip(const orba::IniEntries &entries)
{
    for (const auto &[key, value] : entries) {
        if (key.count(QLatin1Char(':')) > 1)
            return false;
        for (QChar c : key + value)
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    orba::IniEntries first;
    orba::parseIniXml(reinterpret_cast<const char *>(data), size, first);
    const QByteArray doc = orba::renderIniXml(first);
    orba::IniEntries second;
    if (orba::parseIniXml(doc.constData(), size_t(doc.size()), second) && survivesRoundTrip(first) &&
        second != first)
        std::abort();
    return 0;
}
