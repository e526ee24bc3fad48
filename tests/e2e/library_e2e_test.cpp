// The preset library in the application against orba-sim: slots dragged onto a favourite folder
// become files, a file dragged onto a slot is stored in the simulator, and the view and difference
// dialogs of a slot show what the grab read.
#include "e2e_fixture.h"
#include "library_drive.h"
#include "preset_samples.h"
#include "screenshot.h"

#include "presets/dialogs/preset_list_boxes.h"
#include "presets/dialogs/preset_view_dlgs.h"
#include "presets/dialogs/presets_dlg.h"
#include "presets/preset_file.h"
#include "presets/preset_report.h"
#include "presets/slot_rules.h"

using namespace orba;
using namespace orba::test;

TEST_F(EndToEnd, LibraryDragsSlotsIntoAFolderAndAFileIntoASlotThenViewsAndDiffsTheSlot)
{
    const PresetSlotList &slotList = window->session().presetSlots();
    ASSERT_TRUE(slotInUse(slotList, 1) && slotInUse(slotList, 2));
    const QString first = slotName(slotList.get(1));
    const QString second = slotName(slotList.get(2));
    const int target = 59;
    ASSERT_FALSE(slotInUse(slotList, target));

    bool ran = false;
    std::vector<ViewRow> viewed;
    std::vector<DiffRow> diffed;
    QString diffColumn;
    QString folder;
    answer = [&](QDialog *d) {
        if (auto *view = qobject_cast<CPresetsViewDlg *>(d)) {
            QTreeWidget *tree = view->treeWidget();
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                viewed.push_back({tree->topLevelItem(i)->text(0), tree->topLevelItem(i)->text(1)});
            return int(QDialog::Accepted);
        }
        if (auto *diff = qobject_cast<tcPresetsDiffDlg *>(d)) {
            diffed = diff->rows();
            diffColumn = diff->diffTree()->headerItem()->text(2);
            diff->resize(520, 640);
            screenshot(*diff, "preset-diff.png");
            return int(QDialog::Accepted);
        }
        auto *library = qobject_cast<CPresetsDlg *>(d);
        if (!library)
            return int(QDialog::Rejected);
        ran = true;
        library->show();
        folder = QDir(library->favoritesFolder()).filePath(QStringLiteral("Drive"));
        EXPECT_TRUE(QDir().mkpath(folder));
        library->foldersBox()->rebuild(folder);
        QTreeWidgetItem *folderItem = library->foldersBox()->itemForPath(folder);
        EXPECT_NE(folderItem, nullptr);
        if (!folderItem)
            return int(QDialog::Rejected);

        // Two slots onto the folder: both become files there.
        tcPDlgArcBox *arc = library->arcBox();
        dragRows(arc, {arc->topLevelItem(1), arc->topLevelItem(2)}, library->foldersBox(), folderItem);
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(first + ".orba"))) << first.toStdString();
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(second + ".orba"))) << second.toStdString();
        library->foldersBox()->setCurrentItem(library->foldersBox()->itemForPath(folder));
        EXPECT_EQ(library->filesBox()->topLevelItemCount(), 2);
        if (library->filesBox()->topLevelItemCount() != 2)
            return int(QDialog::Rejected);

        // The second file onto an empty slot: the simulator stores it there.
        QTreeWidgetItem *file = library->filesBox()->topLevelItem(1);
        EXPECT_EQ(file->text(0), second);
        dragRows(library->filesBox(), {file}, arc, arc->topLevelItem(target));
        EXPECT_TRUE(waitFor([&] { return slotName(slotList.get(target)) == second; }));

        // View and diff of that slot read it from the simulator first.
        arc->clearSelection();
        arc->topLevelItem(target)->setSelected(true);
        arc->slot_view();
        arc->slot_diff();

        if (!qEnvironmentVariableIsEmpty("ORBA_SCREENSHOT_DIR")) {
            const QDir favorites(library->favoritesFolder());
            for (const char *more : {"Talk", "Weekend/Night", "Weekend/Sports"})
                favorites.mkpath(QLatin1String(more));
            library->foldersBox()->rebuild(folder);
            arc->clearSelection();
            arc->topLevelItem(1)->setSelected(true);
            library->filesBox()->topLevelItem(0)->setSelected(true);
            library->foldersBox()->expandAll();
            arc->scrollToTop();
            library->resize(640, 560);
            screenshot(*library, "preset-library.png");
        }
        return int(QDialog::Accepted);
    };
    window->slot_preset_dlg();
    ASSERT_TRUE(ran);
    EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();

    // What the simulator holds in the slot is the file, value for value.
    const QString file = QDir(folder).filePath(second + ".orba");
    SETTINGS_MAP fromFile, inSlot;
    PresetHeader header;
    ASSERT_EQ(loadPreset(header, fromFile, file), PRESET_OK);
    ASSERT_TRUE(window->presetTransfer().grabPreset(target, &inSlot).ok());
    EXPECT_EQ(differingParameters(fromFile, inSlot), 0);

    ASSERT_EQ(int(viewed.size()), settingCount() + 3);
    EXPECT_EQ(viewed[0].value, second);
    ASSERT_EQ(int(diffed.size()), settingCount() + 3);
    EXPECT_EQ(diffColumn, "On ORBA");
    EXPECT_EQ(diffed[0].compared, second);
    int marked = 0;
    for (size_t i = 3; i < diffed.size(); ++i)
        marked += diffed[i].differs ? 1 : 0;
    EXPECT_EQ(marked, differingParameters(window->session().live(), inSlot));
    EXPECT_GT(marked, 0); // the slot is not the live preset
}

TEST_F(EndToEnd, ThePresetsButtonAndTheMenuEntryOpenTheLibraryWithTheProcessorList)
{
    int opened = 0;
    bool arcEnabled = false;
    answer = [&](QDialog *d) {
        if (auto *library = qobject_cast<CPresetsDlg *>(d)) {
            ++opened;
            arcEnabled = library->arcBox()->listEnabled();
            EXPECT_EQ(library->arcBox()->topLevelItem(0)->text(1),
                      slotName(window->session().presetSlots().get(0)));
        }
        return int(QDialog::Rejected);
    };
    click("PRESETS");
    ASSERT_TRUE(waitFor([&] { return opened == 1; }));
    EXPECT_TRUE(arcEnabled);
    QAction *entry = nullptr;
    for (QAction *a : window->findChildren<QAction *>())
        if (a->text() == QLatin1String("Library..."))
            entry = a;
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_TRUE(waitFor([&] { return opened == 2; }));
}
