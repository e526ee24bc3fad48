#include "sim/sim_firmware.h"

#include <cstdio>

namespace orba::sim {

namespace {

// The line with every occurrence of the key removed.
std::string without(std::string line, const std::string &key)
{
    for (size_t at; (at = line.find(key)) != std::string::npos;)
        line.erase(at, key.size());
    return line;
}

} // namespace

FirmwareImageInfo FirmwareReceiver::parseHeader(const std::string &text)
{
    FirmwareImageInfo info;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            break; // a line is taken only once it is whole
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        for (size_t cr; (cr = line.find('\r')) != std::string::npos;)
            line.erase(cr, 1);
        if (line.find("BUILD:") != std::string::npos)
            info.build = without(line, "BUILD:");
        else if (line.find("DSPVER:") != std::string::npos)
            info.dsp = without(line, "DSPVER:");
        else if (line.find("MCSVER:") != std::string::npos)
            info.fpga = without(line, "MCSVER:");
        else if (line.find("APVER:") != std::string::npos)
            info.ap = without(line, "APVER:");
        else if (line.find("TALMEN ") != std::string::npos && line.find(" UPGRADE") != std::string::npos)
            info.signature = line;
        else if (line == "ENDHEADER") {
            info.complete = true;
            break;
        }
    }
    return info;
}

void FirmwareReceiver::reset()
{
    m_active = false;
    m_flashing = false;
    m_next = 1;
    m_blocks = 0;
    m_bytes = 0;
    m_step = 0;
    m_header.clear();
    m_info = {};
}

FwAnswer FirmwareReceiver::fail(uint16_t block, uint16_t blocks, std::string text)
{
    reset();
    return {block, blocks, FW_ERROR, std::move(text)};
}

std::optional<FwAnswer> FirmwareReceiver::onBlock(const FwBlockMsg &b)
{
    if (b.block == 0 || b.blocks == 0 || b.block > b.blocks)
        return std::nullopt;
    if (b.block == 1) {
        reset(); // a first block always starts a new image, also over a download in progress
        m_active = true;
        m_blocks = b.blocks;
    } else if (!m_active || m_flashing) {
        return std::nullopt;
    } else if (b.blocks != m_blocks || b.block != m_next) {
        char text[96];
        std::snprintf(text, sizeof text, "Block %u of %u arrived out of order; expected block %u of %u.",
                      unsigned(b.block), unsigned(b.blocks), unsigned(m_next), unsigned(m_blocks));
        return fail(b.block, b.blocks, text);
    }
    m_bytes += uint32_t(b.available);
    if (!m_info.complete && m_header.size() < HEADER_LIMIT) {
        m_header.append(reinterpret_cast<const char *>(b.data),
                        std::min(b.available, HEADER_LIMIT - m_header.size()));
        m_info = parseHeader(m_header);
        if (m_info.complete && m_info.signature != FIRMWARE_SIGNATURE)
            return fail(b.block, b.blocks,
                        "Invalid image signature: \"" + m_info.signature + "\"; wanted \"" +
                            FIRMWARE_SIGNATURE + "\".");
    }
    ++m_next;
    if (b.block == m_blocks) {
        if (!m_info.complete)
            return fail(b.block, b.blocks, "The image has no ENDHEADER line; nothing was written.");
        m_flashing = true;
        m_step = 0;
    }
    return FwAnswer{b.block, b.blocks, FW_ACK, {}};
}

FwAnswer FirmwareReceiver::flashStep()
{
    if (!m_flashing)
        return {0, 0, FW_MESSAGE, "No image is being written."};
    ++m_step;
    if (m_step < FLASH_STEPS) {
        char text[64];
        std::snprintf(text, sizeof text, "Writing ORBA image to flash ROM... %d%%",
                      m_step * 100 / FLASH_STEPS);
        return {uint16_t(m_step), uint16_t(FLASH_STEPS), FW_PROGRESS, text};
    }
    m_flashing = false;
    m_active = false;
    m_installed = m_info;
    return {m_blocks, m_blocks, FW_DONE, "Flash ROM written and verified."};
}

} // namespace orba::sim
