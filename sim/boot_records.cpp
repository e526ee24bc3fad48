#include "sim/boot_records.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace orba::sim {

bool parseMac(const std::string &text, uint8_t mac[6])
{
    int part = 0;
    size_t i = 0;
    while (part < 6) {
        int digits = 0;
        unsigned value = 0;
        while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) && digits < 2) {
            const char c = char(std::tolower(static_cast<unsigned char>(text[i])));
            value = value * 16 + unsigned(c <= '9' ? c - '0' : c - 'a' + 10);
            ++digits;
            ++i;
        }
        if (digits == 0)
            return false;
        mac[part++] = uint8_t(value);
        if (part < 6) {
            if (i >= text.size() || (text[i] != ':' && text[i] != '-'))
                return false;
            ++i;
        }
    }
    return i == text.size();
}

std::string macText(const uint8_t mac[6])
{
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

std::string ipText(const uint8_t ip[4])
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", ip[0], ip[1], ip[2], ip[3]);
    return text;
}

namespace {

uint8_t *putRecord(uint8_t *p, uint8_t type, const uint8_t *value, uint16_t length)
{
    p[0] = type;
    p[1] = uint8_t(length >> 8); // record lengths are big-endian
    p[2] = uint8_t(length);
    std::memcpy(p + 3, value, length);
    return p + 3 + length;
}

} // namespace

size_t buildBootRequest(uint8_t *out, const uint8_t mac[6])
{
    std::memcpy(out, BOOT_TAG, BOOT_TAG_SIZE);
    const uint8_t request = 0, hardware = 8;
    uint8_t *p = out + BOOT_TAG_SIZE;
    p = putRecord(p, BOOT_MARKER, &request, 1);
    p = putRecord(p, BOOT_HARDWARE, &hardware, 1);
    p = putRecord(p, BOOT_MAC, mac, 6);
    return size_t(p - out);
}

bool parseBootReply(const uint8_t *data, size_t size, const uint8_t mac[6], BootReply &reply)
{
    if (size < BOOT_TAG_SIZE || std::memcmp(data, BOOT_TAG, BOOT_TAG_SIZE) != 0)
        return false;
    enum : unsigned {
        MARKER = 1,
        HARDWARE = 2,
        MAC = 4,
        IP = 8,
        SUBNET = 16,
        GATEWAY = 32,
        NAME = 64,
        ALL = 127
    };
    unsigned seen = 0;
    size_t pos = BOOT_TAG_SIZE;
    while (pos < size) {
        if (size - pos < 3)
            return false;
        const uint8_t type = data[pos];
        const size_t length = size_t(data[pos + 1]) << 8 | data[pos + 2];
        const uint8_t *value = data + pos + 3;
        if (length > size - pos - 3)
            return false;
        pos += 3 + length;
        switch (type) {
        case BOOT_MARKER:
        case BOOT_HARDWARE:
            if (length != 1)
                break;
            if (*value != (type == BOOT_MARKER ? 1 : 8))
                return false;
            seen |= type == BOOT_MARKER ? MARKER : HARDWARE;
            break;
        case BOOT_MAC:
            if (length != 6 || std::memcmp(value, mac, 6) != 0)
                return false;
            std::memcpy(reply.mac, value, 6);
            seen |= MAC;
            break;
        case BOOT_IP:
        case BOOT_SUBNET:
        case BOOT_GATEWAY:
            if (length != 4)
                return false;
            std::memcpy(type == BOOT_IP       ? reply.ip
                        : type == BOOT_SUBNET ? reply.subnet
                                              : reply.gateway,
                        value, 4);
            seen |= type == BOOT_IP ? IP : type == BOOT_SUBNET ? SUBNET : GATEWAY;
            break;
        case BOOT_NAME:
            if (length != BOOT_NAME_SIZE)
                return false;
            std::memcpy(reply.name, value, BOOT_NAME_SIZE);
            reply.name[BOOT_NAME_SIZE] = 0;
            seen |= NAME;
            break;
        default:
            break;
        }
    }
    return seen == ALL;
}

} // namespace orba::sim
