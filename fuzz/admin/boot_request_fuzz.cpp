// Arbitrary datagrams through the boot request reader: the first six bytes after the tag's place
// serve as the server's MAC address. An answered datagram must hold the tag, fit its records,
// and carry the three required records; the reply built then is always 70 bytes.
#include "admin/boot_protocol.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t mac[6] = {};
    if (size >= 6)
        std::memcpy(mac, data, 6);
    const uint8_t *datagram = size >= 6 ? data + 6 : data;
    const size_t length = size >= 6 ? size - 6 : size;
    const orba::BootRequest result = orba::readBootRequest(datagram, length, mac);
    if (result != orba::BootRequest::NoTag &&
        (length < orba::BOOT_TAG_SIZE || std::memcmp(datagram, orba::BOOT_TAG, orba::BOOT_TAG_SIZE) != 0))
        std::abort();
    if (result == orba::BootRequest::Answer) {
        // Walk the records again: each must lie inside the datagram.
        size_t pos = orba::BOOT_TAG_SIZE;
        bool macSeen = false;
        while (pos < length) {
            if (length - pos < 3)
                std::abort();
            const size_t n = size_t(datagram[pos + 1]) << 8 | datagram[pos + 2];
            if (n > length - pos - 3)
                std::abort();
            if (datagram[pos] == 3 && n == 6 && std::memcmp(datagram + pos + 3, mac, 6) == 0)
                macSeen = true;
            pos += 3 + n;
        }
        if (!macSeen)
            std::abort();
        orba::BootSettings s;
        std::memcpy(s.mac, mac, 6);
        uint8_t reply[orba::BOOT_REPLY_SIZE];
        if (orba::buildBootReply(reply, s) != orba::BOOT_REPLY_SIZE)
            std::abort();
        if (orba::readBootRequest(reply, sizeof reply, mac) != orba::BootRequest::WrongValue)
            std::abort(); // a reply carries marker 1, never taken for a request
    }
    return 0;
}
