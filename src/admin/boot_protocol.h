// The boot server's datagrams: the boot request a processor without network settings sends, and
// the 70-byte reply that gives it an address, a subnet mask, a gateway and a name. Pure functions
// on byte buffers; the socket lives in tcNetServerDlgThrd.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace orba {

constexpr char BOOT_TAG[] = "CORVANTEBOOTSRVR"; // 16 characters, no terminator on the wire
constexpr size_t BOOT_TAG_SIZE = 16;
constexpr uint16_t BOOT_SERVER_PORT = 2898;
constexpr size_t BOOT_DATAGRAM_MAX = 1500;
constexpr size_t BOOT_REPLY_SIZE = 70;
constexpr size_t BOOT_NAME_SIZE = 8;

struct BootSettings
{
    uint8_t mac[6] = {};
    uint8_t ip[4] = {}; // network order, first octet first
    uint8_t subnet[4] = {};
    uint8_t gateway[4] = {};
    char name[BOOT_NAME_SIZE] = {}; // NUL-padded, no terminator when 8 long
};

enum class BootRequest {
    Answer,     // all three required records, this MAC address
    NoTag,      // shorter than the tag, or another tag
    Truncated,  // a record runs past the end
    WrongValue, // a request or hardware marker of another value
    OtherMac,   // another unit's request
    Incomplete, // a required record is missing
};

// Checks a datagram against the MAC address the server answers.
BootRequest readBootRequest(const uint8_t *data, size_t size, const uint8_t mac[6]);
// Writes the reply into out (BOOT_REPLY_SIZE bytes) and returns its size.
size_t buildBootReply(uint8_t *out, const BootSettings &settings);

// The dialog's texts as the settings take them: the MAC address split at ":", each part read as
// hexadecimal (at most six parts, the missing ones 0); an address in dotted form (anything else
// gives 255.255.255.255, as the classic conversion does); the first eight characters of the name,
// "NoName" when it is empty.
void macFromText(const QString &text, uint8_t mac[6]);
void addressFromText(const QString &text, uint8_t address[4]);
void nameFromText(const QString &text, char name[BOOT_NAME_SIZE]);

} // namespace orba
