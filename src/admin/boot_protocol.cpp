#include "admin/boot_protocol.h"

#include "link/frames.h"

#include <QStringList>

#include <cstring>

namespace orba {

namespace {

enum : uint8_t {
    REC_MARKER = 0,   // 0 in a request, 1 in a reply
    REC_HARDWARE = 1, // 8
    REC_NAME = 2,
    REC_MAC = 3,
    REC_IP = 4,
    REC_SUBNET = 5,
    REC_FLAGS = 6,
    REC_GATEWAY = 24,
};

uint8_t *putRecord(uint8_t *p, uint8_t type, const void *value, uint16_t length)
{
    p[0] = type;
    p[1] = uint8_t(length >> 8); // record lengths are big-endian
    p[2] = uint8_t(length);
    std::memcpy(p + 3, value, length);
    return p + 3 + length;
}

} // namespace

BootRequest readBootRequest(const uint8_t *data, size_t size, const uint8_t mac[6])
{
    if (size < BOOT_TAG_SIZE || std::memcmp(data, BOOT_TAG, BOOT_TAG_SIZE) != 0)
        return BootRequest::NoTag;
    bool marker = false, hardware = false, macSeen = false;
    bool wrongValue = false, otherMac = false;
    size_t pos = BOOT_TAG_SIZE;
    while (pos < size) {
        if (size - pos < 3)
            return BootRequest::Truncated;
        const uint8_t type = data[pos];
        const size_t length = size_t(data[pos + 1]) << 8 | data[pos + 2];
        if (length > size - pos - 3)
            return BootRequest::Truncated;
        const uint8_t *value = data + pos + 3;
        pos += 3 + length;
        // The whole datagram is walked first: a record that runs past the end spoils it all.
        if (type == REC_MARKER && length == 1) {
            wrongValue |= value[0] != 0;
            marker = true;
        } else if (type == REC_HARDWARE && length == 1) {
            wrongValue |= value[0] != 8;
            hardware = true;
        } else if (type == REC_MAC && length == 6) {
            otherMac |= std::memcmp(value, mac, 6) != 0;
            macSeen = true;
        }
    }
    if (wrongValue)
        return BootRequest::WrongValue;
    if (otherMac)
        return BootRequest::OtherMac;
    if (!marker || !hardware || !macSeen)
        return BootRequest::Incomplete;
    return BootRequest::Answer;
}

size_t buildBootReply(uint8_t *out, const BootSettings &s)
{
    std::memcpy(out, BOOT_TAG, BOOT_TAG_SIZE);
    const uint8_t marker = 1, hardware = 8;
    const uint8_t flags[2] = {0, 0};
    uint8_t *p = out + BOOT_TAG_SIZE;
    p = putRecord(p, REC_MARKER, &marker, 1);
    p = putRecord(p, REC_HARDWARE, &hardware, 1);
    p = putRecord(p, REC_MAC, s.mac, 6);
    p = putRecord(p, REC_IP, s.ip, 4);
    p = putRecord(p, REC_SUBNET, s.subnet, 4);
    p = putRecord(p, REC_GATEWAY, s.gateway, 4);
    p = putRecord(p, REC_FLAGS, flags, 2);
    p = putRecord(p, REC_NAME, s.name, BOOT_NAME_SIZE);
    return size_t(p - out);
}

void macFromText(const QString &text, uint8_t mac[6])
{
    std::memset(mac, 0, 6);
    const QStringList parts = text.split(QLatin1Char(':'));
    for (int i = 0; i < parts.size() && i < 6; ++i)
        mac[i] = uint8_t(parts[i].trimmed().toUInt(nullptr, 16));
}

void addressFromText(const QString &text, uint8_t address[4])
{
    const QByteArray latin = text.trimmed().toLatin1();
    if (!parseIPv4(latin.constData(), address))
        std::memset(address, 0xFF, 4);
}

void nameFromText(const QString &text, char name[BOOT_NAME_SIZE])
{
    std::memset(name, 0, BOOT_NAME_SIZE);
    const QByteArray latin =
        (text.isEmpty() ? QStringLiteral("NoName") : text.left(int(BOOT_NAME_SIZE))).toLatin1();
    std::memcpy(name, latin.constData(), std::min<size_t>(size_t(latin.size()), BOOT_NAME_SIZE));
}

} // namespace orba
