// Reassembly of frames from the byte stream: read boundaries, the sync search, the length bounds.
#include "link/frame_assembler.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Collector
{
    std::vector<Bytes> frames;
    static void take(void *context, const uint8_t *frame, size_t length)
    {
        static_cast<Collector *>(context)->frames.emplace_back(frame, frame + length);
    }
};

Bytes frame(uint8_t type, size_t length, uint8_t fill)
{
    Bytes f(length, fill);
    f[0] = f[1] = 0xA5;
    f[2] = uint8_t(length);
    f[3] = uint8_t(length >> 8);
    f[4] = type;
    if (length > 5)
        f[5] = 0;
    return f;
}

} // namespace

TEST(FrameAssembler, FramesSurviveAnyReadBoundaries)
{
    Bytes stream;
    std::vector<Bytes> sent;
    for (size_t length : {6u, 12u, 2048u, 5u, 1100u, 612u, 7u}) {
        sent.push_back(frame(uint8_t(length % 30), length, uint8_t(length * 3)));
        stream.insert(stream.end(), sent.back().begin(), sent.back().end());
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        Collector c;
        FrameAssembler a(&Collector::take, &c);
        for (size_t at = 0; at < stream.size();) {
            const size_t n =
                std::min(stream.size() - at, size_t(rng() % 40 + 1) * (round % 3 == 0 ? 100 : 1));
            a.feed(stream.data() + at, n);
            at += n;
        }
        EXPECT_EQ(c.frames, sent) << "round " << round;
        EXPECT_EQ(a.state(), FrameAssembler::HuntFirst);
    }
}

TEST(FrameAssembler, AStrayByteAfterAFirstSyncByteRestartsTheSearch)
{
    // A5 00 is skipped; the frame starts at the second pair of A5 bytes.
    Bytes stream = {0xA5, 0x00, 0xA5, 0xA5, 0x0C, 0x00, 4, 0, 1, 2, 3, 4, 5, 6};
    Collector c;
    FrameAssembler a(&Collector::take, &c);
    a.feed(stream.data(), stream.size());
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], Bytes(stream.begin() + 2, stream.end()));
}

TEST(FrameAssembler, ImpossibleLengthsRestartTheSyncSearch)
{
    for (uint16_t bad : {0, 4, 2049, 0xFFFF}) {
        Collector c;
        FrameAssembler a(&Collector::take, &c);
        const Bytes head = {0xA5, 0xA5, uint8_t(bad), uint8_t(bad >> 8)};
        a.feed(head.data(), head.size());
        EXPECT_EQ(a.state(), FrameAssembler::HuntFirst) << bad;
        const Bytes good = frame(21, 6, 0);
        a.feed(good.data(), good.size());
        ASSERT_EQ(c.frames.size(), 1u) << bad;
    }
    // The limits themselves are accepted.
    for (size_t length : {5u, 2048u}) {
        Collector c;
        FrameAssembler a(&Collector::take, &c);
        const Bytes f = frame(2, length, 1);
        a.feed(f.data(), f.size());
        EXPECT_EQ(c.frames.size(), 1u) << length;
    }
}

TEST(FrameAssembler, ResetDropsAHalfCollectedFrame)
{
    Collector c;
    FrameAssembler a(&Collector::take, &c);
    const Bytes f = frame(2, 100, 9);
    a.feed(f.data(), 50);
    EXPECT_EQ(a.state(), FrameAssembler::Collecting);
    a.reset();
    EXPECT_EQ(a.state(), FrameAssembler::HuntFirst);
    a.feed(f.data() + 50, 50); // the tail of the cut frame is skipped as garbage
    a.feed(f.data(), f.size());
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], f);
}

TEST(FrameAssembler, AHandlerThatResetsTheAssemblerDoesNotLoseTheNextFrame)
{
    struct Resetting
    {
        FrameAssembler *a = nullptr;
        int seen = 0;
        static void take(void *context, const uint8_t *, size_t)
        {
            auto *self = static_cast<Resetting *>(context);
            ++self->seen;
            self->a->reset();
        }
    } r;
    FrameAssembler a(&Resetting::take, &r);
    r.a = &a;
    Bytes two = frame(2, 8, 1);
    const Bytes second = frame(2, 9, 2);
    two.insert(two.end(), second.begin(), second.end());
    a.feed(two.data(), two.size());
    EXPECT_EQ(r.seen, 2);
}
