#include "panel_fixture.h"

#include "panel_skin.h"
#include "show_exposed.h"
#include "skin/skin_test_util.h"

#include <QCoreApplication>
#include <QDir>

#include <cstring>

namespace orba::test {

void PanelTest::SetUp()
{
    WorkDirTest::SetUp();
    live.setChangeCallback(&PanelTest::onSettings, this);
    globals.setChangeCallback(&PanelTest::onGlobals, this);
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

void PanelTest::onSettings(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<PanelTest *>(context);
    if (changeIsSent(source))
        self->toSend.set(id);
    if (changeIsShown(source))
        self->toShow.set(id);
}

void PanelTest::onGlobals(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<PanelTest *>(context);
    if (changeIsSent(source))
        self->globalsToSend.set(id);
    if (changeIsShown(source))
        self->globalsToShow.set(id);
}

int PanelTest::loadPanels(bool withBackground, const QStringList &leaveOut)
{
    const QString folder = path(QStringLiteral("skins/test"));
    writePanelSkin(folder, withBackground, leaveOut);
    return loadSkinFolder(folder);
}

int PanelTest::loadSkinFolder(const QString &folder)
{
    closeBench();
    m_host = std::make_unique<tcVORudWidget>();
    KelEnvironment env;
    env.live = &live;
    env.globals = &globals;
    env.settings = settings.get();
    env.quickSave = quick.get();
    env.settingsToShow = &toShow;
    env.host = &hostSide;
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
    std::vector<uint16_t> ids;
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id)) {
        if (toSend.take(id))
            ids.push_back(id);
    }
    return ids;
}

std::vector<uint16_t> PanelTest::takeSentGlobals()
{
    std::vector<uint16_t> ids;
    for (uint16_t id = orba::firstGlobalId(); id != 0xFFFF; id = orba::nextGlobalId(id)) {
        if (globalsToSend.take(id))
            ids.push_back(id);
    }
    return ids;
}

void PanelTest::showHost()
{
    ASSERT_TRUE(orba::test::showExposed(*m_host));
}

QImage PanelTest::grab()
{
    return m_host->grab().toImage();
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
