// The processor's side of IP assignment: the boot request it sends while it has no network
// settings, and the check of the boot server's reply. Pure functions on byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orba::sim {

constexpr char BOOT_TAG[] = "CORVANTEBOOTSRVR"; // 16 characters, no terminator on the wire
constexpr size_t BOOT_TAG_SIZE = 16;
constexpr uint16_t BOOT_PORT = 2898;
constexpr size_t BOOT_REQUEST_SIZE = 33; // tag, request marker, hardware marker, MAC address
constexpr size_t BOOT_NAME_SIZE = 8;

enum BootRecord : uint8_t {
    BOOT_MARKER = 0,   // 0 in a request, 1 in a reply
    BOOT_HARDWARE = 1, // 8
    BOOT_NAME = 2,
    BOOT_MAC = 3,
    BOOT_IP = 4,
    BOOT_SUBNET = 5,
    BOOT_FLAGS = 6,
    BOOT_GATEWAY = 24,
};

// "00:11:22:33:44:55": six groups of one or two hexadecimal digits.
bool parseMac(const std::string &text, uint8_t mac[6]);
std::string macText(const uint8_t mac[6]);
std::string ipText(const uint8_t ip[4]);

// Writes the request of a unit with this MAC address; returns BOOT_REQUEST_SIZE.
size_t buildBootRequest(uint8_t *out, const uint8_t mac[6]);

struct BootReply
{
    uint8_t mac[6] = {};
    uint8_t ip[4] = {};
    uint8_t subnet[4] = {};
    uint8_t gateway[4] = {};
    char name[BOOT_NAME_SIZE + 1] = {};
};

// A reply is valid when it carries the tag, the reply marker 1, the hardware marker 8, this unit's
// MAC address, an address, a subnet mask, a gateway and a name, each record inside the datagram.
// Records of other types are skipped, in any order.
bool parseBootReply(const uint8_t *data, size_t size, const uint8_t mac[6], BootReply &reply);

} // namespace orba::sim
