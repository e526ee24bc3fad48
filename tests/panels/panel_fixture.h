// A product bench on a real host widget with the environment the main window gives it; the host side
// is recorded, and values "from the processor" are refreshed the way the main window does.
#pragma once

#include <QStringList>

#include "common/ini_store.h"
#include "gui/gui_object.h"
#include "panels/control_group.h"
#include "panels/kel_bench.h"
#include "presets/quick_save.h"
#include "show_exposed.h"
#include "skin/vorud_widget.h"
#include "support/work_dir.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QImage>
#include <QObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace orba::test {

class RecordingHost : public tcKelHost
{
public:
    bool tcpMeters = false;
    int tcpMeterSwitches = 0;
    std::vector<uint32_t> codesAsked;
    bool codeAnswer = false;
    int unlockedReports = 0;

    bool kelTcpMeters() const override { return tcpMeters; }
    void kelSetTcpMeters(bool on) override
    {
        tcpMeters = on;
        ++tcpMeterSwitches;
    }
    bool kelAskAccessCode(uint32_t crc) override
    {
        codesAsked.push_back(crc);
        return codeAnswer;
    }
    void kelUnlocked() override { ++unlockedReports; }
};

class PanelTest : public WorkDirTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the test skin, without the named objects when any are given, and loads it into a fresh bench.
    int loadPanels(bool withBackground = true, const QStringList &leaveOut = {});
    void closeBench();

    tcKelBench &bench() { return *m_bench; }
    tcVORudWidget &host() { return *m_host; }
    template <class T> T *object(const char *name)
    {
        return static_cast<T *>(tcGuiObject::find(m_bench, NameString(name)));
    }

    // A value from the processor, then the refresh the main window runs.
    void fromProcessor(uint16_t id, uint32_t raw);
    // A raw value `steps` above the parameter's minimum.
    uint32_t rawAt(uint16_t id, int steps) const { return live.getRawMin(id) + uint32_t(steps); }
    void globalFromProcessor(uint16_t id, int32_t value);
    void refreshMarked();
    // Ids marked to send since the last call (in table order), and the globals likewise.
    std::vector<uint16_t> takeSent();
    std::vector<uint16_t> takeSentGlobals();

    // Shows the host and waits until it is exposed; renders it.
    void showHost() { ASSERT_TRUE(orba::test::showExposed(*m_host)); }
    QImage grab() { return m_host->grab().toImage(); }
    // The frame a picture of the test skin shows at an object's top-left (plus an offset).
    int frameAt(const char *name, int dx = 2, int dy = 2);

    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    SETTINGS_FLAGS toSend, toShow;
    GLOBALS_FLAGS globalsToSend, globalsToShow;
    std::unique_ptr<IniStore> settings;
    std::unique_ptr<orba::QuickSave> quick;
    RecordingHost hostSide;

private:
    std::unique_ptr<tcVORudWidget> m_host;
    tcKelBench *m_bench = nullptr; // owned by the host
};

// The test skin loaded, with nothing marked to send yet.
class LoadedPanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        ASSERT_EQ(loadPanels(), 0);
        takeSent();
        takeSentGlobals();
    }
};

// One control of a panel and the signal it raises.
struct PanelPress
{
    const char *what;
    std::function<void()> press;
    void (tcControlGroup::*signal)();
};
// Presses each in turn: each raises its own signal once and no other signal of the list.
inline void expectEachRaisesItsOwnSignal(tcControlGroup &group, const std::vector<PanelPress> &presses)
{
    QObject receiver; // ends the connections with the function
    std::vector<int> counts(presses.size());
    for (size_t i = 0; i < presses.size(); ++i)
        QObject::connect(&group, presses[i].signal, &receiver, [&counts, i] { ++counts[i]; });
    for (const PanelPress &pressed : presses) {
        std::fill(counts.begin(), counts.end(), 0);
        pressed.press();
        for (size_t i = 0; i < presses.size(); ++i)
            EXPECT_EQ(counts[i], presses[i].signal == pressed.signal ? 1 : 0)
                << pressed.what << ", counting " << presses[i].what;
    }
}

// Meter datagram bytes for the panels' fields.
struct MeterFrame
{
    uint8_t bytes[604] = {};
    MeterFrame &temperature(float celsius);
    MeterFrame &status(uint8_t analog, uint8_t aes);
    MeterFrame &at(size_t offset, std::initializer_list<uint8_t> values);
};

} // namespace orba::test
