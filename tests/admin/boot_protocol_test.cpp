// Boot requests and replies: the records a request needs, hostile lengths, the reply's layout byte by byte.
#include "admin/boot_protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

using namespace orba;

namespace {

const uint8_t kMac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

using Bytes = std::vector<uint8_t>;

Bytes bytesAt(const uint8_t *p, size_t n)
{
    return Bytes(p, p + n);
}

struct Datagram
{
    std::vector<uint8_t> bytes;
    Datagram() { bytes.assign(BOOT_TAG, BOOT_TAG + BOOT_TAG_SIZE); }
    Datagram &record(uint8_t type, std::vector<uint8_t> value, int length = -1)
    {
        const size_t n = length < 0 ? value.size() : size_t(length);
        bytes.push_back(type);
        bytes.push_back(uint8_t(n >> 8));
        bytes.push_back(uint8_t(n));
        bytes.insert(bytes.end(), value.begin(), value.end());
        return *this;
    }
    Datagram &marker(uint8_t v = 0) { return record(0, {v}); }
    Datagram &hardware(uint8_t v = 8) { return record(1, {v}); }
    Datagram &mac(const uint8_t *m = kMac) { return record(3, std::vector<uint8_t>(m, m + 6)); }
    BootRequest read() const { return readBootRequest(bytes.data(), bytes.size(), kMac); }
};

} // namespace

TEST(BootRequest, RecordsInAnyOrderAmongOthersAreAnswered)
{
    EXPECT_EQ(Datagram().marker().hardware().mac().read(), BootRequest::Answer);
    EXPECT_EQ(Datagram().mac().hardware().marker().read(), BootRequest::Answer);
    EXPECT_EQ(
        Datagram().record(9, {1, 2, 3}).mac().record(0, {5, 5}).hardware().record(40, {}).marker().read(),
        BootRequest::Answer);
    // A marker record of another length is skipped, not judged.
    EXPECT_EQ(Datagram().marker().hardware().record(1, {7, 7}).mac().read(), BootRequest::Answer);
}

TEST(BootRequest, AWrongMarkerAnotherUnitOrAMissingRecordIsNotAnswered)
{
    const uint8_t other[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F};
    const std::pair<Datagram, BootRequest> cases[] = {
        {Datagram().marker().hardware(7).mac(), BootRequest::WrongValue},
        {Datagram().marker(1).hardware().mac(), BootRequest::WrongValue},
        {Datagram().marker().hardware().mac(other), BootRequest::OtherMac},
        {Datagram().hardware().mac(), BootRequest::Incomplete},
        {Datagram().marker().mac(), BootRequest::Incomplete},
        {Datagram().marker().hardware(), BootRequest::Incomplete},
        {Datagram(), BootRequest::Incomplete},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first.read(), cases[i].second) << "case " << i;
}

TEST(BootRequest, ARecordRunningPastTheEndSpoilsTheDatagram)
{
    Datagram d;
    d.marker().hardware().mac().record(9, {1, 2}, 3);
    EXPECT_EQ(d.read(), BootRequest::Truncated);
    Datagram cut;
    cut.marker().hardware().mac();
    cut.bytes.push_back(9);
    cut.bytes.push_back(0);
    EXPECT_EQ(cut.read(), BootRequest::Truncated);
    Datagram huge;
    huge.marker().hardware().mac().record(9, {}, 0xFFFF);
    EXPECT_EQ(huge.read(), BootRequest::Truncated);
}

TEST(BootRequest, OnlyTheTagOpensADatagram)
{
    Datagram d;
    d.marker().hardware().mac();
    d.bytes[15] = 'X';
    EXPECT_EQ(d.read(), BootRequest::NoTag);
    EXPECT_EQ(readBootRequest(d.bytes.data(), 15, kMac), BootRequest::NoTag);
    EXPECT_EQ(readBootRequest(nullptr, 0, kMac), BootRequest::NoTag);
}

TEST(BootReply, HasItsSeventyBytesInPlace)
{
    BootSettings s;
    std::memcpy(s.mac, kMac, 6);
    addressFromText(QStringLiteral("10.0.0.5"), s.ip);
    addressFromText(QStringLiteral("255.255.0.0"), s.subnet);
    addressFromText(QStringLiteral("10.0.0.1"), s.gateway);
    nameFromText(QStringLiteral("Studio"), s.name);
    uint8_t out[BOOT_REPLY_SIZE + 8];
    std::memset(out, 0xEE, sizeof out);
    ASSERT_EQ(buildBootReply(out, s), 70u);
    EXPECT_EQ(out[70], 0xEE);
    EXPECT_EQ(std::memcmp(out, "CORVANTEBOOTSRVR", 16), 0);
    EXPECT_EQ(bytesAt(out + 16, 11), (Bytes{0, 0, 1, 1, 1, 0, 1, 8, 3, 0, 6}));
    EXPECT_EQ(bytesAt(out + 27, 6), bytesAt(kMac, 6));
    EXPECT_EQ(bytesAt(out + 33, 7), (Bytes{4, 0, 4, 10, 0, 0, 5}));
    EXPECT_EQ(bytesAt(out + 40, 7), (Bytes{5, 0, 4, 255, 255, 0, 0}));
    EXPECT_EQ(bytesAt(out + 47, 7), (Bytes{24, 0, 4, 10, 0, 0, 1}));
    EXPECT_EQ(bytesAt(out + 54, 5), (Bytes{6, 0, 2, 0, 0}));
    EXPECT_EQ(bytesAt(out + 59, 11), (Bytes{2, 0, 8, 'S', 't', 'u', 'd', 'i', 'o', 0, 0}));
}

TEST(BootSettingsText, APartlyFilledMacLeavesTheMissingBytesZero)
{
    uint8_t mac[6];
    macFromText(QStringLiteral("0a:FF:3"), mac);
    EXPECT_EQ(bytesAt(mac, 6), (Bytes{0x0A, 0xFF, 0x03, 0, 0, 0}));
    macFromText(QStringLiteral("01:02:03:04:05:06:07"), mac);
    EXPECT_EQ(bytesAt(mac, 6), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST(BootSettingsText, AnAddressThatIsNotDottedGivesAllOnes)
{
    uint8_t a[4];
    addressFromText(QStringLiteral("192.168.1."), a);
    EXPECT_EQ(bytesAt(a, 4), (Bytes{255, 255, 255, 255}));
    addressFromText(QStringLiteral("192.168.1.20"), a);
    EXPECT_EQ(bytesAt(a, 4), (Bytes{192, 168, 1, 20}));
}
