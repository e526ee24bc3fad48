// FrameAssembler: cuts frames out of the link's byte stream. It hunts for the sync word, reads the
// length and collects the frame into one fixed buffer, then hands each whole frame to a callback.
// A frame may span any number of reads and one read may hold several frames; an impossible length
// restarts the sync search. Not thread-safe: one thread feeds it (or resets it) at a time.
#pragma once

#include "link/frames.h"

#include <cstddef>
#include <cstdint>

class FrameAssembler
{
public:
    enum State : uint8_t { HuntFirst = 0, HuntSecond = 1, LengthLow = 2, LengthHigh = 3, Collecting = 4 };
    // Called with each complete frame (header included); the bytes are valid only during the call.
    using FrameHandler = void (*)(void *context, const uint8_t *frame, size_t length);

    FrameAssembler(FrameHandler handler, void *context) : m_handler(handler), m_context(context) {}

    void feed(const uint8_t *bytes, size_t count);
    void reset();

    int state() const { return m_state; }
    size_t length() const { return m_length; }
    size_t count() const { return m_count; }

private:
    FrameHandler m_handler;
    void *m_context;
    uint8_t m_state = HuntFirst;
    uint16_t m_length = 0;
    uint16_t m_count = 0;
    uint8_t m_buffer[orba::FRAME_MAX_LENGTH] = {};
};
