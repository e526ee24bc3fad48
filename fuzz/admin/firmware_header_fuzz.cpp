// Arbitrary image files through the firmware header reader: a header is complete exactly when a
// line is "ENDHEADER", every field is "???" or comes from a line holding its key, and the check
// passes only for the exact signature.
#include "admin/firmware_header.h"

#include <QByteArrayList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const orba::FirmwareHeader h = orba::readFirmwareHeader(bytes);
    bool endLine = false;
    for (QByteArray line : bytes.split('\n')) {
        line.replace('\r', QByteArray());
        if (line == "ENDHEADER") {
            endLine = true;
            break;
        }
    }
    if (h.complete != endLine)
        std::abort();
    const orba::FirmwareCheck check = orba::checkFirmwareHeader(h);
    if ((check == orba::FirmwareCheck::Ok) !=
        (h.complete && h.signature == QLatin1String("TALMEN ORBA UPGRADE")))
        std::abort();
    if (h.signature != QLatin1String("???") &&
        (!h.signature.contains(QLatin1String("TALMEN ")) || !h.signature.contains(QLatin1String(" UPGRADE"))))
        std::abort();
    if (!QByteArray(bytes).replace('\r', QByteArray()).contains("APVER:") && h.ap != QLatin1String("???"))
        std::abort();
    orba::FirmwareFileInfo info;
    info.header = h;
    info.check = check;
    (void)orba::firmwareRefusal(info);
    (void)orba::firmwareQuestion(h);
    return 0;
}
