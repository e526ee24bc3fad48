// The preset dialogs with real widgets (offscreen); with ORBA_SCREENSHOT_DIR set, also rendered there.
#include "link/frames.h"
#include "loopback_peer.h"
#include "message_recorder.h"
#include "preset_helpers.h"
#include "presets/dialogs/grab_push_progress.h"
#include "presets/dialogs/preset_rename_dlg.h"
#include "presets/dialogs/preset_save_dlg.h"
#include "presets/dialogs/preset_take_dlg.h"
#include "presets/favorites.h"
#include "presets/name_rules.h"
#include "presets/preset_file.h"
#include "screenshot.h"
#include "session/session.h"
#include "wait.h"
#include "work_dir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace orba;
using namespace orba::test;

namespace {

void clickOk(QDialog &d)
{
    d.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
}

} // namespace

TEST(PresetSaveDialog, AnEmptySlotFiveProposesPset005AndASlotInUseItsName)
{
    PresetSlotList list;
    list.set(6, usedHeader("Morning Drive"));
    tcPresetSaveDlg d(tcPresetSaveDlg::ProcessorSlot, &list, 4);
    EXPECT_EQ(d.windowTitle(), "Save as Preset in ORBA");
    auto *spin = d.findChild<QSpinBox *>(QStringLiteral("slotSpin"));
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 80);
    EXPECT_EQ(d.slotNumber(), 5);
    EXPECT_EQ(d.name(), "PSET 005");
    spin->setValue(7);
    EXPECT_EQ(d.name(), "Morning Drive");
    d.slot_IndexChanged(99);
    EXPECT_EQ(d.slotNumber(), 80);
    EXPECT_EQ(d.name(), "PSET 080");
    EXPECT_EQ(d.findChild<QLineEdit *>(QStringLiteral("nameEdit"))->maxLength(), 40);
    spin->setValue(5);
    screenshot(d, "preset-save.png");
}

TEST(PresetSaveDialog, FavoritesModeHasNoSlot)
{
    tcPresetSaveDlg d(tcPresetSaveDlg::Favorites, nullptr, 0);
    EXPECT_EQ(d.windowTitle(), "Save as Preset in Favorites");
    d.show();
    EXPECT_FALSE(d.findChild<QSpinBox *>(QStringLiteral("slotSpin"))->isVisible());
    EXPECT_EQ(d.name(), "");
}

TEST(PresetSaveDialog, OkAppliesTheSaveRulesAndARefusalKeepsTheDialogOpen)
{
    MessageRecorder messages;
    PresetSlotList list;
    tcPresetSaveDlg d(tcPresetSaveDlg::ProcessorSlot, &list, 0);
    d.setName("AC/DC");
    clickOk(d);
    ASSERT_EQ(messages.only(), Box("Save preset", "There are invalid characters in the name."));
    EXPECT_EQ(messages.last().kind, MessageKind::Information);
    EXPECT_NE(d.result(), QDialog::Accepted);
    d.setName("");
    clickOk(d);
    EXPECT_EQ(messages.messages().size(), 1u); // an empty name does nothing
    EXPECT_NE(d.result(), QDialog::Accepted);
    d.setName("Loud! #2");
    clickOk(d);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.name(), "Loud! #2");
}

TEST(PresetRenameDialog, AcceptsAndRefusesWhatTheRenameRulesSay)
{
    MessageRecorder messages;
    tcPresetRenameDlg d("Rename Preset", "Old", PRESET_NAME_MAX);
    auto *edit = d.findChild<QLineEdit *>(QStringLiteral("nameEdit"));
    edit->setText(" Rock");
    clickOk(d);
    EXPECT_EQ(messages.last().title, "Rename");
    EXPECT_EQ(messages.last().text, "A name cannot start or end with a space.");
    EXPECT_NE(d.result(), QDialog::Accepted);
    edit->setText("Rock #1_b 2");
    clickOk(d);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.name(), "Rock #1_b 2");
    EXPECT_EQ(messages.messages().size(), 1u);

    tcPresetRenameDlg folder("Rename Favorite Folder", "", FOLDER_NAME_MAX);
    EXPECT_EQ(folder.findChild<QLineEdit *>(QStringLiteral("nameEdit"))->maxLength(), 100);
}

TEST(PresetProgressWindow, ShowsIndexTimesHundredOverCountAndTheName)
{
    tcGrabPushProgress p;
    EXPECT_EQ(p.windowTitle(), "Preset Transfer");
    EXPECT_EQ(p.value(), 0);
    EXPECT_EQ(p.minimumSize(), p.maximumSize());
    p.update(1, 3, "Second");
    EXPECT_EQ(p.findChild<QProgressBar *>()->value(), 33);
    EXPECT_EQ(p.findChild<QLabel *>()->text(), "Second");
    EXPECT_TRUE(p.isVisible());
    p.update(2, 0, "None");
    EXPECT_EQ(p.value(), 0);
    p.update(1, 3, "Morning Drive");
    screenshot(p, "preset-transfer.png");
}

namespace {

// A session on line with a stand-in processor that echoes pushed headers.
class PresetDialogsOnline : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        peer.onFrame([this](const Frame &f) {
            if (f[4] != MSG_PRESET_HEADERS)
                return;
            if (hangUpAtHeader)
                peer.closeConnection();
            else
                peer.send(f);
        });
        SessionOptions options{peer.port(), freeUdpPort(), LinkLimits{200, 60000, 60000}};
        options.forceConnect = true;
        session = std::make_unique<Session>(options);
        session->setTarget({QString(), QStringLiteral("127.0.0.1"), 0});
        session->set_online(true);
        ASSERT_TRUE(waitProcessingEvents([&] { return session->isOnline(); }));
        transfer = std::make_unique<PresetTransfer>(*session, wait);
        ASSERT_TRUE(QDir().mkpath(path("favorites/Drive")));
    }
    void TearDown() override
    {
        transfer.reset();
        session.reset();
        WorkDirTest::TearDown();
    }

    LoopbackPeer peer;
    std::atomic<bool> hangUpAtHeader{false};
    std::unique_ptr<Session> session;
    ProgressWait wait;
    std::unique_ptr<PresetTransfer> transfer;
    MessageRecorder messages;
};

} // namespace

TEST_F(PresetDialogsOnline, TakeDialogListsSlotsInUseAndFavouritesAndADoubleClickTakes)
{
    session->presetSlots().set(0, usedHeader("Factory Default", PRESET_FACTORY_LOCKED));
    session->presetSlots().set(4, usedHeader("Sports Play by Play"));
    SETTINGS_MAP fileSet;
    changeEveryParameter(fileSet);
    ASSERT_TRUE(savePresetToFolder(path("favorites/Drive"), "Evening", fileSet));
    ASSERT_TRUE(savePresetToFolder(path("favorites"), "Top", fileSet));

    tcPresetTakeDlg d(*session, *transfer, nullptr, path("favorites"));
    EXPECT_EQ(d.windowTitle(), "Take Preset");
    QTreeWidget *tree = d.tree();
    EXPECT_EQ(tree->headerItem()->text(0), "Presets");
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *orbaItem = tree->topLevelItem(0);
    EXPECT_EQ(orbaItem->text(0), "ORBA");
    ASSERT_EQ(orbaItem->childCount(), 2);
    EXPECT_EQ(orbaItem->child(1)->text(0), "005 Sports Play by Play");
    EXPECT_EQ(orbaItem->child(1)->data(0, Qt::UserRole).toInt(), 0x8000 | 4);
    QTreeWidgetItem *file = d.fileItem(path("favorites/Drive/Evening.orba"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(0), "Evening");
    EXPECT_EQ(file->data(0, Qt::UserRole).toInt(), 0x2000 | 0x2);
    d.resize(320, 300);
    tree->expandAll();
    screenshot(d, "preset-take.png");

    // The slot list follows the processor.
    uint8_t frame[PRESET_HEADERS_LENGTH];
    const uint8_t slot = 9;
    const PresetHeader h = usedHeader("News at Ten");
    ASSERT_TRUE(peer.send(frame, buildPresetHeaders(frame, &slot, &h, 1)));
    ASSERT_TRUE(waitProcessingEvents([&] { return d.slotItem(9) != nullptr; }));

    emit tree->itemDoubleClicked(d.slotItem(4), 0);
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_TAKE_PRESET).size() == 1; }));
    TakePresetMsg take;
    const Frame f = peer.framesOfType(MSG_TAKE_PRESET)[0];
    ASSERT_TRUE(parseTakePreset(f.data(), f.size(), take));
    EXPECT_EQ(take.slot, 4);

    emit tree->itemDoubleClicked(file, 0);
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_CURRENT_PRESET).size() == 1; }));
    EXPECT_EQ(session->live().getRaw(PEQ1_LIFT), fileSet.getRaw(PEQ1_LIFT));

    // Folders and the root do nothing.
    emit tree->itemDoubleClicked(orbaItem, 0);
    emit tree->itemDoubleClicked(tree->topLevelItem(1), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PresetDialogsOnline, APasteThatLosesTheLinkClosesTheProgressAndSaysWhichPreset)
{
    PresetClipboard clip;
    for (const char *name : {"One", "Two", "Three"}) {
        auto set = std::make_shared<SETTINGS_MAP>();
        clip.push_back({usedHeader(name), set});
    }
    hangUpAtHeader = true;
    const TransferResult r = pasteWithProgress(nullptr, *transfer, 30, clip);
    EXPECT_EQ(r.status, TransferResult::LinkLost);
    ASSERT_EQ(messages.only(),
              Box("Preset Transfer", "The link to the processor was lost while preset 31 was being sent."));
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<tcGrabPushProgress *>(w) && w->isVisible());
}
