// FirmwareReceiver: the processor's side of a firmware download. It takes the numbered blocks in
// order, acknowledges each, checks the image's text header as soon as the "ENDHEADER" line has
// arrived, and after the last block "writes flash" in a few steps, each reported with its
// progress, then reports success. Pure logic: the caller sends the answers and paces the steps.
#pragma once

#include "link/frames.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orba::sim {

constexpr char FIRMWARE_SIGNATURE[] = "TALMEN ORBA UPGRADE";

enum FwCode : uint16_t { FW_ACK = 0, FW_DONE = 1, FW_MESSAGE = 2, FW_ERROR = 3, FW_PROGRESS = 4 };

struct FwAnswer
{
    uint16_t block = 0;
    uint16_t blocks = 0;
    uint16_t code = FW_ACK;
    std::string text;
};

// The header fields of an image, each "???" until its line is seen.
struct FirmwareImageInfo
{
    std::string build = "???", dsp = "???", fpga = "???", ap = "???", signature = "???";
    bool complete = false; // "ENDHEADER" seen
};

class FirmwareReceiver
{
public:
    static constexpr int FLASH_STEPS = 5; // four progress reports, then the final one
    static constexpr size_t HEADER_LIMIT = 64 * 1024;

    // The answer to one block, or none when the block is ignored (a zero count or number, a number
    // past the count, or a stray block while no download runs).
    std::optional<FwAnswer> onBlock(const FwBlockMsg &block);

    bool flashing() const { return m_flashing; }
    // One step of writing flash: progress reports, the last one FW_DONE (flashing then ends).
    FwAnswer flashStep();

    // Forgets a download in progress (the link went down).
    void reset();

    const FirmwareImageInfo &image() const { return m_info; }
    // The header of the last image written completely.
    const std::optional<FirmwareImageInfo> &installed() const { return m_installed; }
    uint32_t bytesReceived() const { return m_bytes; }

    // Header rules of the image file: lines without CR/LF; the first key found decides.
    static FirmwareImageInfo parseHeader(const std::string &text);

private:
    FwAnswer fail(uint16_t block, uint16_t blocks, std::string text);

    bool m_active = false;
    bool m_flashing = false;
    uint16_t m_blocks = 0;
    uint16_t m_next = 1;
    uint32_t m_bytes = 0;
    int m_step = 0;
    std::string m_header; // the image's first bytes, up to HEADER_LIMIT
    FirmwareImageInfo m_info;
    std::optional<FirmwareImageInfo> m_installed;
};

} // namespace orba::sim
