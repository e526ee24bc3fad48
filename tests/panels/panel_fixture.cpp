#include "panel_fixture.h"

#include "panel_skin.h"
#include "skin/skin_test_util.h"

#include <QDir>

#include <cstring>

namespace orba::test {
namespace {

// Marks a change the way the main window routes it.
template <class Flags> void mark(Flags &toSend, Flags &toShow, uint16_t id, ChangeSource source)
{
    if (changeIsSent(source))
        toSend.set(id);
    if (changeIsShown(source))
        toShow.set(id);
}

// Takes the marks of one table (both end at 0xFFFF), returning the ids that had one.
template <class Flags>
std::vector<uint16_t> takeMarked(Flags &flags, uint16_t (*first)(), uint16_t (*next)(uint16_t))
{
    static_assert(SETTINGS_END == GLOBALS_END);
    std::vector<uint16_t> ids;
    for (uint16_t id = first(); id != SETTINGS_END; id = next(id)) {
        if (flags.take(id))
            ids.push_back(id);
    }
    return ids;
}

} // namespace

void PanelTest::SetUp()
{
    WorkDirTest::SetUp();
    live.setChangeCallback(
        [](void *self, uint16_t id, ChangeSource source) {
            auto *test = static_cast<PanelTest *>(self);
            mark(test->toSend, test->toShow, id, source);
        },
        this);
    globals.setChangeCallback(
        [](void *self, uint16_t id, ChangeSource source) {
            auto *test = static_cast<PanelTest *>(self);
            mark(test->globalsToSend, test->globalsToShow, id, source);
        },
        this);
    settings = std::make_unique<IniStore>(path(QStringLiteral("KELQT.ini")), IniStore::XmlFile);
    QDir().mkpath(path(QStringLiteral("presets")));
    quick = std::make_unique<orba::QuickSave>(path(QStringLiteral("presets")));
}

void PanelTest::TearDown()
{
    closeBench();
    quick.reset();
    settings.reset();
    WorkDirTest::TearDown();
}

void PanelTest::closeBench()
{
    m_host.reset();
    m_bench = nullptr;
}

int PanelTest::loadPanels(bool withBackground, const QStringList &leaveOut)
{
    const QString folder = path(QStringLiteral("skins/test"));
    writePanelSkin(folder, withBackground, leaveOut);
    closeBench();
    m_host = std::make_unique<tcVORudWidget>();
    const KelEnvironment env{&live, &globals, settings.get(), quick.get(), &toShow, &hostSide};
    m_bench = new tcKelBench(m_host.get(), folder, env);
    m_host->setBench(m_bench);
    const int result = m_bench->loadSkin();
    if (result == 0)
        m_bench->setupFirstScreen();
    return result;
}

void PanelTest::fromProcessor(uint16_t id, uint32_t raw)
{
    live.setIndex(id, raw, CHANGE_PROCESSOR);
    refreshMarked();
}

void PanelTest::globalFromProcessor(uint16_t id, int32_t value)
{
    globals.set(id, value, CHANGE_PROCESSOR);
    refreshMarked();
}

void PanelTest::refreshMarked()
{
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id)) {
        if (toShow.take(id))
            m_bench->onSettingsId(id);
    }
    for (uint16_t id = orba::firstGlobalId(); id != 0xFFFF; id = orba::nextGlobalId(id)) {
        if (globalsToShow.take(id))
            m_bench->onGlobalsId(id);
    }
}

std::vector<uint16_t> PanelTest::takeSent()
{
    return takeMarked(toSend, orba::firstSettingId, orba::nextSettingId);
}

std::vector<uint16_t> PanelTest::takeSentGlobals()
{
    return takeMarked(globalsToSend, orba::firstGlobalId, orba::nextGlobalId);
}

int PanelTest::frameAt(const char *name, int dx, int dy)
{
    const QPoint p = panelSkinPosition(name);
    return sectionOfPixel(grab().pixel(p.x() + dx, p.y() + dy));
}

MeterFrame &MeterFrame::temperature(float celsius)
{
    uint32_t bits;
    std::memcpy(&bits, &celsius, sizeof bits);
    for (int i = 0; i < 4; ++i)
        bytes[40 + i] = uint8_t(bits >> (8 * i));
    return *this;
}

MeterFrame &MeterFrame::status(uint8_t analog, uint8_t aes)
{
    bytes[44] = analog;
    bytes[45] = aes;
    return *this;
}

MeterFrame &MeterFrame::at(size_t offset, std::initializer_list<uint8_t> values)
{
    for (uint8_t v : values)
        bytes[offset++] = v;
    return *this;
}

} // namespace orba::test
