// The preset library dialog with real widgets (offscreen) on an off-line session.
#include "dialog_answer.h"
#include "library_drive.h"
#include "message_recorder.h"
#include "preset_helpers.h"
#include "preset_samples.h"
#include "work_dir.h"

#include "common/ini_store.h"
#include "presets/dialogs/preset_list_boxes.h"
#include "presets/dialogs/preset_view_dlgs.h"
#include "presets/dialogs/presets_dlg.h"
#include "presets/favorites.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"
#include "presets/slot_rules.h"
#include "session/session.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

// Every action text reachable from a menu, sub-menus included.
QStringList actionTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (QAction *a : actions) {
        if (a->isSeparator())
            continue;
        texts << a->text();
        if (a->menu())
            texts << actionTexts(a->menu()->actions());
    }
    return texts;
}

QStringList headerTexts(QTreeWidget *tree)
{
    QStringList texts;
    for (int c = 0; c < tree->columnCount(); ++c)
        texts << tree->headerItem()->text(c);
    return texts;
}

class LibraryTest : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(path("favorites/Talk/Late")));
        settings = std::make_unique<IniStore>(path("KELQT.ini"), IniStore::XmlFile);
        session = std::make_unique<Session>();
        transfer = std::make_unique<PresetTransfer>(*session, wait);
        PresetSlotList &slotList = session->presetSlots();
        slotList.set(0, usedHeader("Rock"));
        slotList.set(1, usedHeader("Talk", PRESET_LOCKED));
        slotList.set(2, usedHeader("Factory", PRESET_FACTORY_LOCKED));
        slotList.set(79, usedHeader("Last"));
    }
    void TearDown() override
    {
        dialog.reset();
        transfer.reset();
        session.reset();
        settings.reset();
        WorkDirTest::TearDown();
    }
    CPresetsDlg &open(bool enabled = true)
    {
        dialog = std::make_unique<CPresetsDlg>(*session, *transfer, *settings, path("favorites"), enabled);
        return *dialog;
    }
    void writeFile(const QString &folder, const char *name)
    {
        SETTINGS_MAP set;
        ASSERT_TRUE(
            writePreset(namedHeader(name), set, QDir(folder).filePath(QLatin1String(name) + ".orba")));
        ASSERT_TRUE(addToIndex(folder, QLatin1String(name) + ".orba"));
    }
    QTreeWidgetItem *folderItem(const char *relative)
    {
        return dialog->foldersBox()->itemForPath(path(QLatin1String(relative)));
    }
    static void selectRows(tcPDlgArcBox *box, std::initializer_list<int> rows)
    {
        box->clearSelection();
        for (int row : rows)
            box->topLevelItem(row)->setSelected(true);
    }
    std::unique_ptr<IniStore> settings;
    std::unique_ptr<Session> session;
    EventLoopWait wait;
    std::unique_ptr<PresetTransfer> transfer;
    std::unique_ptr<CPresetsDlg> dialog;
};

} // namespace

TEST_F(LibraryTest, SlotRowsRunFrom001To080WithTheLockInColourAndIcon)
{
    CPresetsDlg &d = open();
    EXPECT_EQ(d.windowTitle(), "Preset Library");
    tcPDlgArcBox *arc = d.arcBox();
    ASSERT_EQ(arc->topLevelItemCount(), 80);
    EXPECT_EQ(headerTexts(arc), QStringList({"#", "On ORBA"}));
    EXPECT_EQ(arc->topLevelItem(0)->text(0), "001");
    EXPECT_EQ(arc->topLevelItem(0)->text(1), "Rock");
    EXPECT_EQ(arc->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 0);
    EXPECT_EQ(arc->topLevelItem(79)->text(0), "080");
    EXPECT_EQ(arc->topLevelItem(79)->data(0, Qt::UserRole).toInt(), 79);
    EXPECT_EQ(arc->topLevelItem(5)->text(1), "");
    const auto colour = [&](int row) { return arc->topLevelItem(row)->foreground(1).color(); };
    EXPECT_EQ(colour(0).rgba(), 0xFF000000u);
    EXPECT_EQ(colour(1).rgba(), 0xFF0000C0u);
    EXPECT_EQ(colour(2).rgba(), 0xFFC00000u);
    // Three different icons for the three locks.
    const auto icon = [&](int row) { return arc->topLevelItem(row)->icon(0).pixmap(16).toImage(); };
    EXPECT_NE(icon(0), icon(1));
    EXPECT_NE(icon(1), icon(2));
    EXPECT_NE(icon(0), icon(2));

    // The list follows the processor's slot list.
    session->presetSlots().set(5, usedHeader("New One"));
    emit session->sig_summary_changed();
    EXPECT_EQ(arc->topLevelItem(5)->text(1), "New One");

    // On a dark list the same hues, light enough to read; plain rows in the list's text colour.
    QPalette dark = arc->palette();
    dark.setColor(QPalette::Base, QColor(11, 13, 16));
    dark.setColor(QPalette::Text, QColor(221, 227, 234));
    arc->setPalette(dark);
    emit session->sig_summary_changed();
    EXPECT_EQ(colour(0), QColor(221, 227, 234));
    EXPECT_EQ(colour(1).hslHue(), QColor::fromRgba(0xFF0000C0u).hslHue());
    EXPECT_EQ(colour(2).hslHue(), QColor::fromRgba(0xFFC00000u).hslHue());
    EXPECT_GT(colour(1).lightness(), 150);
    EXPECT_GT(colour(2).lightness(), 150);
}

TEST_F(LibraryTest, WithTheTechnicianSettingOffThereIsNoFactoryLockEntry)
{
    setTechnicianMode(*settings, false);
    CPresetsDlg &d = open();
    const QString factory = QStringLiteral("Factory Lock Preset");
    const QStringList context = actionTexts(d.arcBox()->contextMenu()->actions());
    EXPECT_FALSE(context.contains(factory));
    EXPECT_TRUE(context.contains("Un-Lock Preset"));
    ASSERT_EQ(d.menuOwner(), d.arcBox());
    const QStringList bar = actionTexts(d.menuBar()->actions());
    EXPECT_FALSE(bar.contains(factory));
    EXPECT_TRUE(bar.contains("Lock Preset"));
    dialog.reset();

    setTechnicianMode(*settings, true);
    CPresetsDlg &tech = open();
    EXPECT_TRUE(actionTexts(tech.arcBox()->contextMenu()->actions()).contains(factory));
    EXPECT_TRUE(actionTexts(tech.menuBar()->actions()).contains(factory));
}

TEST_F(LibraryTest, TheMenuBarShowsTheMenusOfTheListThatLastTookTheFocus)
{
    CPresetsDlg &d = open();
    d.show();
    QApplication::setActiveWindow(&d);
    const auto titles = [&] {
        QStringList t;
        for (QAction *a : d.menuBar()->actions())
            t << a->text();
        return t;
    };
    EXPECT_EQ(titles(), QStringList({"&File", "&Edit", "&View"}));
    d.foldersBox()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.menuOwner(), d.foldersBox());
    EXPECT_EQ(titles(), QStringList({"&File", "&Edit"}));
    EXPECT_TRUE(actionTexts(d.menuBar()->actions()).contains("New Folder..."));
    d.filesBox()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.menuOwner(), d.filesBox());
    EXPECT_TRUE(actionTexts(d.menuBar()->actions()).contains("Sort Up\tCtrl+U"));
}

TEST_F(LibraryTest, RightButtonPressOpensTheContextMenuAndLeavesTheDragStateAlone)
{
    CPresetsDlg &d = open();
    d.show();
    int drags = 0;
    const auto previous = tcPDlgListBox::setDragRunner([&](tcPDlgListBox *, QMimeData *) { ++drags; });
    tcPDlgArcBox *arc = d.arcBox();
    const QPoint row = rowCentre(arc, arc->topLevelItem(3));
    QTest::mousePress(arc->viewport(), Qt::LeftButton, Qt::NoModifier, row);
    EXPECT_TRUE(arc->pressInProgress());
    QTest::mousePress(arc->viewport(), Qt::RightButton, Qt::NoModifier, row);
    EXPECT_TRUE(arc->contextMenu()->isVisible());
    EXPECT_TRUE(arc->pressInProgress());
    EXPECT_FALSE(arc->dragInProgress());
    EXPECT_EQ(drags, 0);
    arc->contextMenu()->hide();
    QTest::mouseRelease(arc->viewport(), Qt::LeftButton, Qt::NoModifier, row);
    EXPECT_FALSE(arc->pressInProgress());

    // A right press alone starts nothing either.
    QTest::mousePress(arc->viewport(), Qt::RightButton, Qt::NoModifier, rowCentre(arc, arc->topLevelItem(0)));
    EXPECT_TRUE(arc->contextMenu()->isVisible());
    EXPECT_FALSE(arc->pressInProgress());
    EXPECT_FALSE(arc->dragInProgress());
    EXPECT_TRUE(arc->topLevelItem(0)->isSelected());
    arc->contextMenu()->hide();
    tcPDlgListBox::setDragRunner(previous);
}

TEST_F(LibraryTest, DroppingFilesOnALockedSlotsRowIsRefusedWithThePasteMessage)
{
    const QString talk = path("favorites/Talk");
    writeFile(talk, "Morning");
    writeFile(talk, "Evening");
    CPresetsDlg &d = open();
    d.show();
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk"));
    tcPDlgFavFilesBox *files = d.filesBox();
    ASSERT_EQ(files->topLevelItemCount(), 2);
    files->selectAll();

    MessageRecorder messages;
    tcPDlgArcBox *arc = d.arcBox();
    int drags = 0;
    const auto previous = tcPDlgListBox::setDragRunner([&](tcPDlgListBox *source, QMimeData *data) {
        ++drags;
        EXPECT_EQ(source, files);
        EXPECT_EQ(data->text(), "Corvante_DV8800_Presets");
        dropOn(arc, arc->topLevelItem(1)); // slot 2, locked
    });
    // A real press and move past the drag distance from the file list.
    const QPoint from = rowCentre(files, files->topLevelItem(0));
    QTest::mousePress(files->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    files->selectAll();
    QMouseEvent move(
        QEvent::MouseMove, QPointF(from + QPoint(0, QApplication::startDragDistance() + 2)),
        QPointF(files->viewport()->mapToGlobal(from + QPoint(0, QApplication::startDragDistance() + 2))),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(files->viewport(), &move);
    tcPDlgListBox::setDragRunner(previous);

    EXPECT_EQ(drags, 1);
    EXPECT_EQ(d.dragBuffer().size(), 2u);
    EXPECT_TRUE(d.clipboard().empty()); // a drag leaves the clipboard alone
    ASSERT_EQ(messages.only(), Box("Preset Paste", "One or more of the destination presets is locked."));
    EXPECT_EQ(slotName(session->presetSlots().get(1)), "Talk");

    // Onto the slot before it: the second file would land on the locked slot, so it is refused too.
    messages.clear();
    dropOn(arc, arc->topLevelItem(0));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, "One or more of the destination presets is locked.");
}

TEST_F(LibraryTest, ADisabledProcessorListRefusesDropsAndEnablesNothing)
{
    writeFile(path("favorites/Talk"), "Morning");
    CPresetsDlg &d = open(false);
    d.show();
    MessageRecorder messages;
    d.dragBuffer().push_back({usedHeader("X"), std::make_shared<SETTINGS_MAP>()});
    tcPDlgArcBox *arc = d.arcBox();
    QMimeData data;
    data.setText(tcPDlgListBox::dragText());
    const QPoint at = rowCentre(arc, arc->topLevelItem(10));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(arc->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    selectRows(arc, {0});
    for (const char *name :
         {"save", "take", "copy", "paste", "delete", "rename", "lock", "unlock", "view", "diff", "print"})
        EXPECT_FALSE(arc->action(QLatin1String(name))->isEnabled()) << name;
    EXPECT_EQ(d.menuOwner(), d.foldersBox());
    arc->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.menuOwner(), d.foldersBox());
}

TEST_F(LibraryTest, ProcessorListEnablingFollowsTheTableRowByRow)
{
    setTechnicianMode(*settings, true);
    CPresetsDlg &d = open();
    tcPDlgArcBox *arc = d.arcBox();
    auto state = [&] {
        QString s;
        for (const char *name : {"save", "take", "paste", "copy", "delete", "rename", "lock", "factoryLock",
                                 "unlock", "print", "view", "diff"})
            s += arc->action(QLatin1String(name))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s.toStdString();
    };
    //                                 sv tk pa co de re lo fl ul pr vi di
    arc->clearSelection();
    EXPECT_EQ(state(), "000000000000");
    selectRows(arc, {5}); // one empty slot
    EXPECT_EQ(state(), "110011111000");
    selectRows(arc, {0}); // one slot in use
    EXPECT_EQ(state(), "110111111111");
    selectRows(arc, {0, 1}); // two in use
    EXPECT_EQ(state(), "000111111111");
    selectRows(arc, {0, 5}); // in use and empty
    EXPECT_EQ(state(), "000011111000");
    // Paste wants the clipboard too.
    d.clipboard().push_back({usedHeader("X"), std::make_shared<SETTINGS_MAP>()});
    selectRows(arc, {5});
    EXPECT_EQ(state(), "111011111000");
    selectRows(arc, {5, 6});
    EXPECT_EQ(state(), "000011111000");
}

TEST_F(LibraryTest, TheFileListHeaderShowsTheFolderBelowFavoritesInItsLast25Characters)
{
    const QString fav = path("favorites");
    EXPECT_EQ(tcPDlgFavFilesBox::headerText(fav, fav + "/Talk/Late"), "Talk\\Late");
    EXPECT_EQ(tcPDlgFavFilesBox::headerText(fav, fav + "/abcdefghij/klmnopqrs/uvwx"),
              "abcdefghij\\klmnopqrs\\uvwx"); // 25 exactly
    EXPECT_EQ(tcPDlgFavFilesBox::headerText(fav, fav + "/abcdefghij/klmnopqrs/uvwxy"),
              "...bcdefghij\\klmnopqrs\\uvwxy");
    EXPECT_EQ(tcPDlgFavFilesBox::headerText(fav, fav), "");
    CPresetsDlg &d = open();
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk/Late"));
    EXPECT_EQ(d.filesBox()->headerItem()->text(0), "Talk\\Late");
    EXPECT_EQ(d.foldersBox()->headerItem()->text(0), "favorite preset folders");
}

TEST_F(LibraryTest, CopyingFilesSkipsOneThatDoesNotLoadAndSaysWhy)
{
    const QString talk = path("favorites/Talk");
    writeFile(talk, "Morning");
    ASSERT_TRUE(writeAll(talk + "/Broken.orba", "not a preset at all\n"));
    CPresetsDlg &d = open();
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk"));
    ASSERT_EQ(d.filesBox()->topLevelItemCount(), 2);
    d.filesBox()->selectAll();
    MessageRecorder messages;
    d.filesBox()->slot_copy();
    EXPECT_EQ(d.clipboard().size(), 1u);
    EXPECT_EQ(d.clipboard().front().header.nameText(), "Morning");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageKind::Warning);
    EXPECT_EQ(messages.last().title, "Error");
    EXPECT_TRUE(messages.last().text.startsWith("Error copying preset:\nBroken\n"))
        << messages.last().text.toStdString();

    // Paste into another folder by dropping the clipboard's copy there.
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk/Late"));
    d.foldersBox()->slot_paste();
    EXPECT_TRUE(QFile::exists(path("favorites/Talk/Late/Morning.orba")));
    EXPECT_EQ(d.filesBox()->topLevelItemCount(), 1);
}

TEST_F(LibraryTest, SortUpAndDownMoveTheFileInTheFolderIndex)
{
    const QString talk = path("favorites/Talk");
    writeFile(talk, "A");
    writeFile(talk, "B");
    writeFile(talk, "C");
    CPresetsDlg &d = open();
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk"));
    tcPDlgFavFilesBox *files = d.filesBox();
    files->topLevelItem(2)->setSelected(true);
    files->slot_sort_up();
    EXPECT_EQ(*readIndex(talk), QStringList({"A.orba", "C.orba", "B.orba"}));
    EXPECT_EQ(files->topLevelItem(1)->text(0), "C");
    EXPECT_TRUE(files->topLevelItem(1)->isSelected());
    files->slot_sort_dn();
    files->slot_sort_dn();
    EXPECT_EQ(*readIndex(talk), QStringList({"A.orba", "B.orba", "C.orba"}));
}

// Which rows differ is PresetReport's; here, how the dialog shows them.
TEST_F(LibraryTest, DiffDialogMarksTheChangedRowsInRed)
{
    SETTINGS_MAP set, other;
    changeEveryParameter(set);
    other.assignFrom(set);
    ASSERT_TRUE(other.setFloat(PEQ1_LIFT, 0.0f, CHANGE_LOCAL));
    tcPresetsDiffDlg diff(nullptr, "Favorite", {&set, headerForSet(set, "Same")},
                          {&other, headerForSet(other, "Same")});
    EXPECT_EQ(diff.windowTitle(), "Preset Difference");
    EXPECT_EQ(headerTexts(diff.diffTree()), QStringList({"Setting", "Current", "Favorite"}));
    ASSERT_EQ(diff.diffTree()->topLevelItemCount(), settingCount() + 3);
    int red = 0;
    for (int i = 0; i < diff.diffTree()->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = diff.diffTree()->topLevelItem(i);
        if (item->background(2).color().rgba() != 0xFFC00000u)
            continue;
        ++red;
        EXPECT_EQ(item->foreground(0).color(), QColor(Qt::white));
        EXPECT_TRUE(item->text(0) == "CRC" || item->text(0) == settingName(PEQ1_LIFT))
            << item->text(0).toStdString();
    }
    EXPECT_EQ(red, 2);

    // Print... goes through the print dialog; cancelled, it prints nothing and the dialog stays.
    int asked = 0;
    DialogAnswer<QPrintDialog> answer([&](QPrintDialog &) {
        ++asked;
        return int(QDialog::Rejected);
    });
    diff.printButton()->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(diff.printButton()->text(), "Print...");
}

TEST_F(LibraryTest, ViewListsNameCountChecksumAndEveryParameter)
{
    SETTINGS_MAP set;
    PresetHeader h = headerForSet(set, "Solo");
    CPresetsViewDlg view(nullptr, {&set, h});
    EXPECT_EQ(view.windowTitle(), "Preset View");
    QTreeWidget *tree = view.treeWidget();
    EXPECT_EQ(headerTexts(tree).mid(1, 2), QStringList({"Value", ""}));
    ASSERT_EQ(tree->topLevelItemCount(), settingCount() + 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), "Solo");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Num IDs");
    EXPECT_EQ(tree->topLevelItem(2)->text(1),
              QStringLiteral("%1").arg(h.presetChecksum, 8, 16, QLatin1Char('0')).toUpper());
}

TEST_F(LibraryTest, NewFolderAndRenameGoThroughTheStoreAndRebuildTheTree)
{
    CPresetsDlg &d = open();
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk"));
    DialogAnswer<QDialog> answer([](QDialog &dlg) {
        if (auto *n = qobject_cast<PresetsNewFolderDlg *>(&dlg)) {
            n->findChild<QLineEdit *>("nameEdit")->setText("Sports");
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });
    d.foldersBox()->slot_new_folder();
    EXPECT_TRUE(QFileInfo(path("favorites/Talk/Sports")).isDir());
    ASSERT_NE(folderItem("favorites/Talk/Sports"), nullptr);
    EXPECT_EQ(d.foldersBox()->currentItem(), folderItem("favorites/Talk/Sports"));
    EXPECT_EQ(d.filesBox()->headerItem()->text(0), "Talk\\Sports");
}

TEST_F(LibraryTest, TheProcessorListWaitsForTheEndOfATransferBeforeItRefills)
{
    CPresetsDlg &d = open();
    {
        CPresetsDlg::TransferGuard busy(d);
        session->presetSlots().set(7, usedHeader("Arrived"));
        emit session->sig_summary_changed();
        EXPECT_EQ(d.arcBox()->topLevelItem(7)->text(1), "");
    }
    EXPECT_EQ(d.arcBox()->topLevelItem(7)->text(1), "Arrived");
}

TEST_F(LibraryTest, ShortcutsWorkInTheListThatHasTheFocus)
{
    const QString talk = path("favorites/Talk");
    writeFile(talk, "A");
    writeFile(talk, "B");
    CPresetsDlg &d = open();
    d.show();
    QApplication::setActiveWindow(&d);
    d.foldersBox()->setCurrentItem(folderItem("favorites/Talk"));
    tcPDlgFavFilesBox *files = d.filesBox();
    files->setFocus();
    files->topLevelItem(1)->setSelected(true);
    QTest::keyClick(files, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(d.clipboard().size(), 1u);
    EXPECT_EQ(d.clipboard().front().header.nameText(), "B");
    QTest::keyClick(files, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(*readIndex(talk), QStringList({"B.orba", "A.orba"}));
    // Ctrl+C in the processor list belongs to it, not to the file list.
    d.clipboard().clear();
    d.arcBox()->setFocus();
    QTest::keyClick(d.arcBox(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(d.clipboard().empty()); // nothing selected there
}
