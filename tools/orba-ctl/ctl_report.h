// What orba-ctl prints besides single values: the status, the slot list and the main meter levels,
// as text lines and as JSON. Pure code on the processor's records.
#pragma once

#include "link/frames.h"
#include "link/records.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace orba::ctl {

struct StatusReport
{
    QString link;      // the session's status text ("Online")
    QString processor; // address:port
    QString device;    // empty without --device
    ProcessorVersion version;
    QString preset; // the current preset's name
};

// "KEY<TAB>VALUE" lines: link, processor, device (only with one), version, date, fpga, dsp, preset.
QStringList statusLines(const StatusReport &status);
QJsonObject statusJson(const StatusReport &status);

struct SlotEntry
{
    int number = 0; // from 1
    QString name;
    uint8_t lock = 0;
};

// The slots in use, in slot order.
std::vector<SlotEntry> slotsInUse(const PresetSlotList &list);
QString lockText(uint8_t lock);          // "unlocked", "locked", "factory locked"
QString slotLine(const SlotEntry &slot); // "NNN<TAB>NAME<TAB>LOCK"
QJsonObject slotJson(const SlotEntry &slot);

// The levels the main screen's meters show, in dB below full scale, left then right: the input
// meter (with its peaks and overload flags), the AM output (positive peaks) and the HD output.
struct MainLevels
{
    float in[2] = {}, inPeak[2] = {};
    bool inOver[2] = {};
    float am[2] = {}, amPeak[2] = {};
    float hd[2] = {}, hdPeak[2] = {};
};

// From a datagram of METER_SIZE bytes.
MainLevels mainLevels(const uint8_t *datagram);
// "IN<TAB>L<TAB>R<TAB>AM<TAB>L<TAB>R<TAB>HD<TAB>L<TAB>R", levels with two decimals.
QString meterLine(const MainLevels &levels);
QJsonObject meterJson(const MainLevels &levels);

} // namespace orba::ctl
