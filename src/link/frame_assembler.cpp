#include "link/frame_assembler.h"

using namespace orba;

void FrameAssembler::reset()
{
    m_state = HuntFirst;
    m_length = 0;
    m_count = 0;
}

void FrameAssembler::feed(const uint8_t *bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        switch (m_state) {
        case HuntFirst:
            if (b == FRAME_SYNC_BYTE)
                m_state = HuntSecond;
            break;
        case HuntSecond:
            // A stray byte is not looked at again as a first sync byte.
            m_state = b == FRAME_SYNC_BYTE ? LengthLow : HuntFirst;
            break;
        case LengthLow:
            m_length = b;
            m_state = LengthHigh;
            break;
        case LengthHigh:
            m_length = uint16_t(m_length | (b << 8));
            if (m_length < FRAME_MIN_LENGTH || m_length > FRAME_MAX_LENGTH) {
                m_state = HuntFirst;
                break;
            }
            m_buffer[0] = FRAME_SYNC_BYTE;
            m_buffer[1] = FRAME_SYNC_BYTE;
            m_buffer[2] = uint8_t(m_length);
            m_buffer[3] = uint8_t(m_length >> 8);
            m_count = FRAME_HEADER_SIZE;
            m_state = Collecting;
            break;
        case Collecting:
            m_buffer[m_count++] = b;
            if (m_count >= m_length) {
                const uint16_t length = m_length;
                // The handler may reset us (a status report while it sends); start over first.
                reset();
                if (m_handler)
                    m_handler(m_context, m_buffer, length);
            }
            break;
        default:
            reset();
            break;
        }
    }
}
