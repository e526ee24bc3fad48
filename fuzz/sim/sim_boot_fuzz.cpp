// Arbitrary datagrams as boot replies, and arbitrary text as a MAC address and as a firmware
// image's header.
#include "sim/boot_records.h"
#include "sim/sim_firmware.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace orba::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t mac[6] = {0, 0x11, 0x22, 0x33, 0x44, 0x55};
    BootReply reply;
    if (parseBootReply(data, size, mac, reply) && (std::memcmp(reply.mac, mac, 6) != 0 || reply.name[8] != 0))
        std::abort();
    const std::string text(reinterpret_cast<const char *>(data), size);
    uint8_t parsed[6];
    if (parseMac(text, parsed) && !parseMac(macText(parsed), parsed))
        std::abort();
    const FirmwareImageInfo info = FirmwareReceiver::parseHeader(text);
    // What the header parser reports is cut out of the text, or its "???".
    for (const std::string *field : {&info.signature, &info.build, &info.ap})
        if (*field != "???" && field->size() > size)
            std::abort();
    return 0;
}
