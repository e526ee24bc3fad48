// The main window with a real skin: skins, scale, menus, processor dialogs, preset save, refresh.
#include "app_window_test.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_display.h"
#include "gui/gui_image.h"
#include "gui/gui_knob.h"
#include "panels/cg_main.h"
#include "preset_samples.h"
#include "presets/preset_file.h"
#include "presets/preset_package.h"
#include "skin/skin_dlg.h"
#include "skin/skin_pack.h"
#include "test_files.h"

#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSpinBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace orba;
using orba::test::Frame;
using orba::test::waitProcessingEvents;

namespace {

class Surface : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        useStudioWithPanelSkin();
    }
    // On line, with only what the test sends next to be seen at the peer.
    void goOnlineAndClear()
    {
        goOnline();
        peer.clear();
    }
    // Picks a skin by name in the skin dialog, as the user does.
    void chooseSkin(KelWidget &w, const QString &name)
    {
        answer = [name](QDialog *d) {
            auto *dialog = static_cast<tcSkinDlg *>(d);
            const auto rows = dialog->listWidget()->findItems(name, Qt::MatchExactly);
            if (rows.isEmpty())
                return int(QDialog::Rejected);
            dialog->listWidget()->setCurrentItem(rows[0]);
            dialog->accept();
            return dialog->result();
        };
        w.slot_choose_skin();
    }
    void packSkin(const QString &from, const QString &to = QStringLiteral("skins/default.skin"))
    {
        QString error;
        ASSERT_TRUE(orba::skin::writePackedSkin(
            path(to), orba::skin::collectPackSources(from, QString(), QString()), &error))
            << error.toStdString();
    }
};

TEST_F(Surface, AMissingSkinFolderFallsBackToThePackedDefault)
{
    packSkin(path(QStringLiteral("skins/default")));
    tcSkinDlg::removeFolder(path(QStringLiteral("skins/default")));
    setting(QStringLiteral("SKIN"), QStringLiteral("name"), QStringLiteral("gone"));
    KelWidget &w = open();
    ASSERT_TRUE(w.kelBench() && w.kelBench()->panelsCreated());
    EXPECT_NE(object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB"), nullptr);
    // The unpacked copy is gone once the pictures are read.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("skins/temp_skin_dir"))));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Surface, WithoutAnySkinOnDiskTheBuiltInDefaultLoadsSilently)
{
    tcSkinDlg::removeFolder(path(QStringLiteral("skins/default")));
    KelWidget &w = open();
    ASSERT_TRUE(w.kelBench() && w.kelBench()->panelsCreated());
    EXPECT_EQ(w.kelBench()->skinFolder(), tcApWidget::builtInSkinPath());
    EXPECT_NE(object<tcGuiImage>("BKGRND"), nullptr);
    EXPECT_TRUE(object<tcGuiImage>("BKGRND")->hasPixmap());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Surface, APackedSkinLoadsWithoutWritingAnything)
{
    packSkin(path(QStringLiteral("skins/default")));
    tcSkinDlg::removeFolder(path(QStringLiteral("skins/default")));
    setting(QStringLiteral("SKIN"), QStringLiteral("file"), QStringLiteral("1"));
    // The scratch folder of old is a link to somebody else's folder: neither emptied nor written.
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    ASSERT_TRUE(test::writeAll(path(QStringLiteral("elsewhere/keep.txt")), "keep"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), path(QStringLiteral("skins/temp_skin_dir"))));
    {
        // As on a full disk: no write can succeed while the skin loads.
        test::FileSizeLimit full(0);
        ASSERT_TRUE(full.active());
        open();
    }
    ASSERT_TRUE(window->kelBench() && window->kelBench()->panelsCreated());
    EXPECT_EQ(window->kelBench()->skinFolder(), path(QStringLiteral("skins/default.skin")));
    EXPECT_TRUE(object<tcGuiImage>("BKGRND")->hasPixmap());
    EXPECT_EQ(QDir(path(QStringLiteral("elsewhere"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("keep.txt")});
    EXPECT_EQ(test::readAll(path(QStringLiteral("elsewhere/keep.txt"))), QByteArray("keep"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("skins/temp_skin_dir"))).isSymLink());
    EXPECT_TRUE(messages.empty());
}

namespace {

// Skins that are there but cannot load, each with a word its reason must hold.
struct BrokenSkin
{
    const char *name;
    bool isFile;
    const char *reason;
};

void PrintTo(const BrokenSkin &skin, std::ostream *out)
{
    *out << skin.name;
}

} // namespace

class BrokenSkinSurface : public Surface, public ::testing::WithParamInterface<BrokenSkin>
{
};

TEST_P(BrokenSkinSurface, IsReportedAndTheBuiltInDefaultTakesOverWithTheLinkStarting)
{
    const BrokenSkin broken = GetParam();
    auto put = [](const QString &file, const QByteArray &data) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        ASSERT_TRUE(test::writeAll(file, data));
    };
    tcSkinDlg::removeFolder(path(QStringLiteral("skins/default")));
    const QString folder = path(QStringLiteral("skins/%1").arg(QString::fromLatin1(broken.name)));
    const QByteArray doctype = "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [\n";
    if (QByteArray(broken.name) == "cut") {
        test::writePanelSkin(path(QStringLiteral("whole")));
        packSkin(path(QStringLiteral("whole")), QStringLiteral("whole.skin"));
        const QByteArray whole = test::readAll(path(QStringLiteral("whole.skin")));
        put(path(QStringLiteral("skins/cut.skin")), whole.left(whole.size() - 100));
    } else if (QByteArray(broken.name) == "nested") {
        put(folder + QStringLiteral("/skin.xml"),
            "<skin><a><b><c><d><e><f><g><h><i><j/></i></h></g></f></e></d></c></b></a></skin>");
    } else if (QByteArray(broken.name) == "laughs") {
        QByteArray xml = doctype + "<!ENTITY a0 \"lol\">\n";
        for (int i = 1; i < 10; ++i)
            xml += "<!ENTITY a" + QByteArray::number(i) + " \"" +
                   QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
        put(folder + QStringLiteral("/skin.xml"), xml + "]>\n<skin><font id=\"&a9;\"/></skin>");
    } else if (QByteArray(broken.name) == "bomb") {
        QByteArray entities;
        for (int i = 1; i <= 8; ++i) {
            const QByteArray next = i < 8 ? QByteArray("&f" + QByteArray::number(i + 1) + ";").repeated(10)
                                          : QByteArray("<color id=\"c\" rgb=\"1\"/>");
            put(folder + QStringLiteral("/f%1.xml").arg(i), next);
            entities +=
                "<!ENTITY f" + QByteArray::number(i) + " SYSTEM \"f" + QByteArray::number(i) + ".xml\">\n";
        }
        put(folder + QStringLiteral("/skin.xml"), doctype + entities + "]>\n<skin>&f1;</skin>");
    } else if (QByteArray(broken.name) == "bare") {
        test::writePanelSkin(folder, false);
    }
    setting(QStringLiteral("SKIN"), QStringLiteral("name"), QString::fromLatin1(broken.name));
    setting(QStringLiteral("SKIN"), QStringLiteral("file"),
            broken.isFile ? QStringLiteral("1") : QStringLiteral("0"));
    setting(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), QStringLiteral("1"));

    KelWidget &w = open();
    ASSERT_TRUE(waitProcessingEvents([&] { return !messages.empty(); }));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Skin Load Error"));
    EXPECT_TRUE(messages.last().text.startsWith(
        QStringLiteral("The skin \"%1\" could not be loaded:\n").arg(QString::fromLatin1(broken.name))))
        << messages.last().text.toStdString();
    EXPECT_TRUE(messages.last().text.contains(QString::fromLatin1(broken.reason)))
        << messages.last().text.toStdString();
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("The default skin is used instead.")));
    ASSERT_TRUE(w.kelBench() && w.kelBench()->panelsCreated());
    EXPECT_EQ(w.kelBench()->skinFolder(), tcApWidget::builtInSkinPath());
    EXPECT_TRUE(object<tcGuiImage>("BKGRND")->hasPixmap());
    EXPECT_NE(object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB"), nullptr);
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_TRUE(waitProcessingEvents([&] { return !peer.framesOfType(MSG_CONNECT).empty(); }));
}

INSTANTIATE_TEST_SUITE_P(
    Skins, BrokenSkinSurface,
    ::testing::Values(BrokenSkin{"cut", true, "cut off"}, BrokenSkin{"nested", false, "nesting exceeded"},
                      BrokenSkin{"laughs", false, "amplification"},
                      BrokenSkin{"bomb", false, "included files"}, BrokenSkin{"bare", false, "no BKGRND"}),
    [](const ::testing::TestParamInfo<BrokenSkin> &info) { return std::string(info.param.name); });

TEST_F(Surface, TheScaleFileScalesTheWindowAndFactorsOutsideTheRangeAreIgnoredWithOneMessageOnce)
{
    // A number followed by text reads the number; the test skin's background is 1000 x 1300.
    const struct
    {
        const char *x, *y;
        QSize size;
    } cases[] = {{"0.5", "0.5", QSize(500, 650)},         {"1.5x", "1.5 times", QSize(1500, 1950)},
                 {"40", "1", QSize(1000, 1300)},          {"1e9", "inf", QSize(1000, 1300)},
                 {"1e-6", "0.000001", QSize(1000, 1300)}, {"nan", "x2", QSize(1000, 1300)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.x);
        ASSERT_TRUE(test::writeAll(path(QStringLiteral("ap_scale.ini")),
                                   "[scale]\nX=" + QByteArray(c.x) + "\nY=" + QByteArray(c.y) + "\n"));
        messages.clear();
        KelWidget &w = open();
        EXPECT_EQ(w.size(), c.size);
        const bool scaled = c.size != QSize(1000, 1300);
        EXPECT_EQ(w.kelBench()->scaling(), scaled);
        if (scaled) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.last().title, QStringLiteral("Scale"));
        EXPECT_TRUE(
            messages.last().text.contains(QStringLiteral("X = \"%1\"").arg(QString::fromLatin1(c.x))));
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"ap_scale.ini\"")));
    }
    // Told once, though every skin load reads it.
    test::writePanelSkin(path(QStringLiteral("skins/other")));
    chooseSkin(*window, QStringLiteral("other"));
    ASSERT_EQ(window->skinName(), QStringLiteral("other"));
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(window->size(), QSize(1000, 1300));
}

TEST_F(Surface, AChosenSkinIsSavedAndAFailedChoiceKeepsThePrevious)
{
    test::writePanelSkin(path(QStringLiteral("skins/other")));
    test::writePanelSkin(path(QStringLiteral("skins/broken")), false);
    KelWidget &w = open();
    chooseSkin(w, QStringLiteral("other"));
    EXPECT_EQ(w.skinName(), QStringLiteral("other"));
    EXPECT_FALSE(w.skinIsFile());
    {
        IniStore saved(path(QStringLiteral("KELQT.ini")), IniStore::XmlFile);
        EXPECT_EQ(saved.readString(QStringLiteral("SKIN"), QStringLiteral("name"), QString()),
                  QStringLiteral("other"));
        EXPECT_EQ(saved.readInt(QStringLiteral("SKIN"), QStringLiteral("file"), -1), 0);
    }
    EXPECT_TRUE(messages.empty());
    chooseSkin(w, QStringLiteral("broken"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Choose Skin"));
    EXPECT_EQ(w.skinName(), QStringLiteral("other"));
    EXPECT_TRUE(w.kelBench()->panelsCreated());
    EXPECT_TRUE(w.kelBench()->skinFolder().endsWith(QStringLiteral("other")));
}

TEST_F(Surface, ASkinWithALongNameIsChosenSavedAndLoadedWhole)
{
    const QString name = QStringLiteral("studio-night-skin-with-a-rather-long-descriptive-name-v2");
    ASSERT_GT(name.size(), 49);
    test::writePanelSkin(path(QStringLiteral("skins/") + name));
    KelWidget &w = open();
    chooseSkin(w, name);
    EXPECT_EQ(w.skinName(), name);
    EXPECT_TRUE(w.kelBench()->skinFolder().endsWith(name));
    EXPECT_TRUE(messages.empty());

    KelWidget &again = open(); // the next start loads it by its whole name
    EXPECT_EQ(again.skinName(), name);
    EXPECT_TRUE(again.kelBench()->skinFolder().endsWith(name));
}

TEST_F(Surface, ExitFromTheMenuLeavesTheMenuToTheEndOfItsOwnEvent)
{
    KelWidget &w = open();
    w.show();
    const QPointer<QMenu> menu = w.popupMenu();
    // File / Exit runs inside the menu's event handler, which uses the menu after the action.
    w.slot_exitMenu();
    ASSERT_EQ(w.popupMenu(), nullptr); // the window was torn down
    EXPECT_FALSE(menu.isNull()) << "deleted under its own event handler";
    window.reset();
    EXPECT_TRUE(menu.isNull());
}

TEST_F(Surface, DialogsThatNeedTheProcessorSayYouMustBeOnlineUnderTheirTitles)
{
    KelWidget &w = open();
    const std::pair<void (tcApWidget::*)(), const char *> guarded[] = {
        {&tcApWidget::slot_preset_save, "Preset Save"},
        {&tcApWidget::slot_time_set, "Set Time"},
        {&tcApWidget::slot_event_dlg, "Event Scheduler"},
        {&tcApWidget::slot_fppasswd_dlg, "Front Panel Password"},
        {&tcApWidget::slot_password_dlg, "Password Update"},
        {&tcApWidget::slot_version_dlg, "ORBA Version"},
        {&tcApWidget::slot_swup_dlg, "Update"},
    };
    for (const auto &[slot, title] : guarded) {
        messages.clear();
        (w.*slot)();
        ASSERT_EQ(messages.messages().size(), 1u) << title;
        EXPECT_EQ(messages.last().title, QString::fromLatin1(title));
        EXPECT_EQ(messages.last().text, QStringLiteral("You must be online."));
    }
    messages.clear();
    for (auto slot : {&tcApWidget::slot_preset_take, &tcApWidget::slot_preset_dlg,
                      &tcApWidget::slot_gui_access, &tcApWidget::slot_gui_lock,
                      &tcApWidget::slot_config_dlg, &tcApWidget::slot_rir_dlg})
        (w.*slot)();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(peer.frames().empty());
}

TEST_F(Surface, ARightClickOnAControlThatTakesItOpensNoMenu)
{
    KelWidget &w = open();
    w.show();
    auto rightPress = [&](const QPoint &p) {
        QMouseEvent press(QEvent::MouseButtonPress, p, w.mapToGlobal(p), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, w.mapToGlobal(p), Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&w, &release);
    };
    const QPoint graph = test::panelSkinPosition("GRAPH") + QPoint(60, 60);
    rightPress(graph);
    EXPECT_FALSE(w.popupMenu()->isVisible());
    rightPress(QPoint(990, 630)); // the plain background
    EXPECT_TRUE(waitProcessingEvents([&] { return w.popupMenu()->isVisible(); }));
    w.popupMenu()->hide();
}

TEST_F(Surface, PresetSaveWithEverySlotLockedIsRefusedBeforeAnyDialog)
{
    KelWidget &w = open();
    goOnlineAndClear();
    for (int i = 0; i < PRESET_SLOTS; ++i)
        session().presetSlots().set(i, test::usedHeader("", PRESET_LOCKED));
    answer = [](QDialog *) {
        ADD_FAILURE() << "a dialog opened";
        return int(QDialog::Rejected);
    };
    w.slot_preset_save();
    ASSERT_EQ(messages.only(),
              test::Box("Save preset",
                        "Unable to save preset. There are no empty unlocked preset entries available."));
}

TEST_F(Surface, PresetSaveSendsTheSetTheNameTheCurrentPresetAndTheActivePreset)
{
    KelWidget &w = open();
    goOnlineAndClear();
    answer = [](QDialog *d) {
        d->findChild<QSpinBox *>()->setValue(6 + 1);
        d->findChild<QLineEdit *>()->setText(QStringLiteral("Evening"));
        return int(QDialog::Accepted);
    };
    w.slot_preset_save();
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(waitProcessingEvents([&] { return !peer.framesOfType(MSG_GLOBALS).empty(); }));
    ASSERT_TRUE(waitProcessingEvents([&] { return !peer.framesOfType(MSG_CURRENT_PRESET).empty(); }));
    const Frame values = peer.framesOfType(MSG_VALUES).at(0);
    ValuesMsg v;
    ASSERT_TRUE(parseValues(values.data(), values.size(), v));
    EXPECT_EQ(v.target, 6);
    const Frame rename = peer.framesOfType(MSG_PRESET_RENAME).at(0);
    PresetRenameMsg r;
    ASSERT_TRUE(parsePresetRename(rename.data(), rename.size(), r));
    EXPECT_EQ(r.slot, 6);
    const Frame g = peer.framesOfType(MSG_GLOBALS).at(0);
    GlobalsMsg globals;
    ASSERT_TRUE(parseGlobals(g.data(), g.size(), globals));
    EXPECT_EQ(entryId(globals.entries), G_ACT_PRST);
    EXPECT_EQ(entryInt(globals.entries), 6);
    EXPECT_EQ(session().presetSlots().get(6).nameText(), "Evening");
    EXPECT_EQ(session().presetSlots().get(6).inUse, 255);
}

TEST_F(Surface, GlobalsFromTheProcessorMoveTheSkinTheLockAndEchoNothing)
{
    KelWidget &w = open();
    goOnlineAndClear();
    GLOBALS_MAP globals;
    globals.set(G_HDPN_LEV, 64, CHANGE_LOCAL);
    globals.set(G_LOCAL_PW, 0x2468, CHANGE_LOCAL);
    globals.set(G_LOCAL_ACC, 16, CHANGE_LOCAL);
    uint8_t gf[8 + 3 * 8];
    putGlobalsHeader(gf, 3);
    putGlobalEntry(gf + 8, globals, G_HDPN_LEV);
    putGlobalEntry(gf + 16, globals, G_LOCAL_PW);
    putGlobalEntry(gf + 24, globals, G_LOCAL_ACC);
    ASSERT_TRUE(peer.send(gf, sizeof gf));
    ASSERT_TRUE(waitProcessingEvents([&] { return object<tcGuiKnob>("HDPN_KNOB")->value() == 64; }));
    ASSERT_TRUE(waitProcessingEvents([&] { return w.kelBench()->lockCode() == 0x2468; }));
    EXPECT_EQ(w.kelBench()->lockBits(), 16u);
    EXPECT_EQ(window->devices().current()->userCodeCrc(), 0x2468u);
    sentArrived();
    EXPECT_TRUE(peer.framesOfType(MSG_VALUES).empty());
    EXPECT_TRUE(peer.framesOfType(MSG_GLOBALS).empty());
}

TEST_F(Surface, ALockedDeviceWithScreensRestrictedOpensOnTheSystemScreen)
{
    ASSERT_TRUE(DeviceRecord(QStringLiteral("Studio"), QDir(path(QStringLiteral("maps"))))
                    .saveAccess(0x99, 16, true));
    setting(QStringLiteral("OPTIONS"), QStringLiteral("CONTROL"), QStringLiteral("4"));
    KelWidget &w = open();
    EXPECT_EQ(w.kelBench()->screen(), 4);
    goOnlineAndClear();
    EXPECT_EQ(w.kelBench()->screen(), 0);
    EXPECT_TRUE(w.kelBench()->locked());
    // Another skin loaded while connected is locked just the same.
    ASSERT_EQ(w.load_skin(QStringLiteral("default"), false), 0);
    EXPECT_TRUE(w.kelBench()->locked());
    EXPECT_EQ(w.kelBench()->lockCode(), 0x99u);
    EXPECT_EQ(w.kelBench()->screen(), 0);
    // Offline the code and bits are forgotten, so nothing asks for them.
    w.set_online(false);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    EXPECT_EQ(w.kelBench()->lockBits(), 0u);
    EXPECT_EQ(w.kelBench()->accessLevel(1014), 0);
}

TEST_F(Surface, TheOnlineSwitchOnTheSkinTogglesOnLineMode)
{
    KelWidget &w = open();
    auto *online = object<tcGuiCheckBox>("ONLINE");
    w.kelBench()->mainPanel()->onCheck(1035, true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.onlineWanted(); }));
    EXPECT_TRUE(online->checked());
}

TEST_F(Surface, ThePresetNameShowsWhetherTheLiveSettingsStillMatch)
{
    KelWidget &w = open();
    PresetHeader current = test::namedHeader("Morning");
    current.setChecksums(session().live().checksums());
    session().link().context().currentPreset->store(current);
    w.slot_crc_check();
    EXPECT_EQ(object<tcGuiDisplay>("STAT_PRESET")->caption(), QStringLiteral("Morning"));
    EXPECT_EQ(w.presetLook(), StatusLook::Normal);
    // An installation parameter only counts while the processor follows presets.
    ASSERT_TRUE(isInstallationParameter(257));
    session().live().setIndex(257, session().live().getRaw(257) + 1, CHANGE_PROCESSOR);
    w.slot_crc_check();
    EXPECT_EQ(w.presetLook(), StatusLook::Normal);
    session().globals().setBool(G_S_FOLLOW, true, CHANGE_PROCESSOR);
    w.slot_crc_check();
    EXPECT_EQ(w.presetLook(), StatusLook::Modified);
    session().globals().setBool(G_S_FOLLOW, false, CHANGE_PROCESSOR);
    ASSERT_FALSE(isInstallationParameter(1032));
    session().live().setIndex(1032, session().live().getRaw(1032) + 1, CHANGE_PROCESSOR);
    w.slot_crc_check();
    EXPECT_EQ(w.presetLook(), StatusLook::Modified);
    // Not the red of a lost link: a colour of its own.
    auto *preset = object<tcGuiDisplay>("STAT_PRESET");
    EXPECT_EQ(preset->state(), tcGuiDisplay::kNote);
    auto differ = [preset](int a, int b) {
        return preset->colours(a).fg != preset->colours(b).fg ||
               preset->colours(a).bg != preset->colours(b).bg;
    };
    EXPECT_TRUE(differ(tcGuiDisplay::kNote, tcGuiDisplay::kError));
    EXPECT_TRUE(differ(tcGuiDisplay::kNote, tcGuiDisplay::kWarning));
}

TEST_F(Surface, PackagesInAutoloadAreInstalledAtStartUp)
{
    QDir().mkpath(path(QStringLiteral("pkgsrc")));
    SETTINGS_MAP set;
    ASSERT_TRUE(writePreset(test::namedHeader("Pop"), set, path(QStringLiteral("pkgsrc/pop.orba"))));
    QDir().mkpath(path(QStringLiteral("presets/autoload")));
    ASSERT_EQ(
        buildPackage(path(QStringLiteral("pkgsrc")), path(QStringLiteral("presets/autoload/Radio.pkg"))), 0);
    open();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("presets/favorites/Radio/pop.orba"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("presets/autoload/Radio.pkg"))));
}

} // namespace
