// The device list on its ".cfg" files, the dialogs that edit it, and the password entry.
#include "admin/device_edit_dlg.h"
#include "admin/device_list.h"
#include "admin/devices_dlg.h"
#include "admin/pswd_entry_dlg.h"
#include "common/crc32.h"
#include "common/ini_store.h"
#include "dialog_answer.h"
#include "message_recorder.h"
#include "test_files.h"
#include "wait.h"
#include "work_dir.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using orba::test::Box;
using orba::test::MessageRecorder;
using orba::test::waitProcessingEvents;

namespace {

class Devices : public orba::test::WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        QDir().mkdir(QStringLiteral("maps"));
    }
    QDir maps() const { return QDir(path(QStringLiteral("maps"))); }
    void addFile(const QString &name, const QString &address)
    {
        IniStore cfg(maps().filePath(name + QStringLiteral(".cfg")), IniStore::XmlFile);
        cfg.writeString(QStringLiteral("Device"), QStringLiteral("IPAddr"), address);
    }
};

template <class T> T *child(QWidget *parent, const char *name)
{
    T *w = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void type(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

} // namespace

TEST_F(Devices, AnOversizedDeviceFileIsSetAsideAndTheListStillLoads)
{
    addFile(QStringLiteral("Studio A"), QStringLiteral("10.0.0.5"));
    QByteArray huge = "<INI>\n<Device\n    IPAddr=\"";
    huge += QByteArray(5 * 1024 * 1024, '1');
    huge += "\"\n/>\n</INI>\n";
    ASSERT_TRUE(orba::test::writeAll(maps().filePath(QStringLiteral("Huge.cfg")), huge));
    MessageRecorder messages;
    DeviceList list(maps());
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.findByName(QStringLiteral("Studio A"))->ipAddress(), QStringLiteral("10.0.0.5"));
    ASSERT_NE(list.findByName(QStringLiteral("Huge")), nullptr);
    EXPECT_EQ(list.findByName(QStringLiteral("Huge"))->ipAddress(), QStringLiteral("0.0.0.0"));
    QCoreApplication::processEvents(); // the box waits for the event loop
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("Huge.cfg")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("larger than 1 MiB")));
    EXPECT_EQ(QFileInfo(maps().filePath(QStringLiteral("Huge.cfg.bad"))).size(), huge.size());
}

TEST_F(Devices, RecordsAreReadFromTheirFilesWithDefaultsAndWrittenAtOnce)
{
    addFile(QStringLiteral("Studio A"), QStringLiteral("10.0.0.5"));
    {
        IniStore bare(maps().filePath(QStringLiteral("Bare.cfg")), IniStore::XmlFile);
        bare.writeInt(QStringLiteral("Other"), QStringLiteral("x"), 1);
    }
    ASSERT_TRUE(orba::test::writeAll(maps().filePath(QStringLiteral("notes.txt")), ""));
    DeviceList list(maps());
    ASSERT_EQ(list.count(), 2);
    DeviceRecord *a = list.findByName(QStringLiteral("Studio A"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->ipAddress(), QStringLiteral("10.0.0.5"));
    EXPECT_EQ(list.findByName(QStringLiteral("Bare"))->ipAddress(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(list.findByName(QStringLiteral("studio a")), nullptr); // exact names only

    a->saveAccess(0xF0000001u, 0x15, true);
    a->saveRemoteCrc(0x89ABCDEFu);
    list.setCurrentByName(QStringLiteral("Nowhere"));
    EXPECT_EQ(list.current(), nullptr);
    list.setCurrentByName(QStringLiteral("Studio A"));
    EXPECT_EQ(list.current(), a);

    DeviceRecord again(QStringLiteral("Studio A"), maps());
    EXPECT_EQ(again.userCodeCrc(), 0xF0000001u);
    EXPECT_EQ(again.userFlags(), 0x15u);
    EXPECT_TRUE(again.userLocked());
    EXPECT_EQ(again.remoteCodeCrc(), 0x89ABCDEFu);
    again.saveLocked(false);
    DeviceRecord third(QStringLiteral("Studio A"), maps());
    EXPECT_FALSE(third.userLocked());
}

TEST_F(Devices, RemovingADeviceDeletesItsFileAndKeepsTheCurrentDevice)
{
    addFile(QStringLiteral("One"), QStringLiteral("1.1.1.1"));
    addFile(QStringLiteral("Two"), QStringLiteral("2.2.2.2"));
    addFile(QStringLiteral("Three"), QStringLiteral("3.3.3.3"));
    DeviceList list(maps());
    list.setCurrentByName(QStringLiteral("Three"));
    const int before = list.currentIndex();
    DeviceRecord *first = list.recordAt(0) == list.current() ? list.recordAt(1) : list.recordAt(0);
    const QString gone = first->name();
    const bool earlier = list.indexOf(first) < before;
    list.remove(first);
    EXPECT_FALSE(QFile::exists(maps().filePath(gone + QStringLiteral(".cfg"))));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.current()->name(), QStringLiteral("Three"));
    EXPECT_EQ(list.currentIndex(), earlier ? before - 1 : before);
}

TEST_F(Devices, TheConnectedDeviceCanBeNeitherEditedNorDeletedNorSelectedAgain)
{
    addFile(QStringLiteral("One"), QStringLiteral("1.1.1.1"));
    addFile(QStringLiteral("Two"), QStringLiteral("2.2.2.2"));
    DeviceList list(maps());
    list.setCurrentIndex(0);
    tcDevicesDlg dlg(&list);
    auto *rows = child<QListWidget>(&dlg, "listWidget");
    auto *edit = child<QPushButton>(&dlg, "pushBtn_EDIT");
    auto *del = child<QPushButton>(&dlg, "pushBtn_DEL");
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->item(0)->text(), list.nameAt(0));

    auto *note = child<QLabel>(&dlg, "labelInUse");
    EXPECT_FALSE(edit->isEnabled()); // nothing selected
    EXPECT_TRUE(note->isHidden());
    rows->setCurrentRow(0);
    EXPECT_EQ(dlg.selectedRow(), 0);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(del->isEnabled());
    // The disabled buttons say why, and so does a line under the list.
    EXPECT_EQ(edit->toolTip(), tcDevicesDlg::inUseNote());
    EXPECT_EQ(del->toolTip(), tcDevicesDlg::inUseNote());
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), tcDevicesDlg::inUseNote());
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Rejected); // "Select" does nothing on the current device

    rows->setCurrentRow(1);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(del->isEnabled());
    EXPECT_TRUE(note->isHidden());
    EXPECT_NE(edit->toolTip(), tcDevicesDlg::inUseNote());
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.selectedRow(), 1);
}

TEST_F(Devices, DoubleClickingARowSelectsIt)
{
    addFile(QStringLiteral("One"), QStringLiteral("1.1.1.1"));
    DeviceList list(maps());
    tcDevicesDlg dlg(&list);
    dlg.show();
    auto *rows = child<QListWidget>(&dlg, "listWidget");
    rows->setCurrentRow(0);
    emit rows->itemDoubleClicked(rows->item(0));
    EXPECT_TRUE(waitProcessingEvents([&] { return dlg.result() == QDialog::Accepted; }));
}

TEST_F(Devices, AddingADeviceSavesItsAddressWithoutBlanks)
{
    DeviceList list(maps());
    tcDevicesDlg dlg(&list);
    orba::test::DialogAnswer<tcDeviceEditDlg> edits;
    edits.answer = [&](tcDeviceEditDlg &edit) {
        EXPECT_EQ(edit.windowTitle(), QStringLiteral("Edit Device"));
        auto *name = child<QLineEdit>(&edit, "nameEdit");
        auto *address = child<QLineEdit>(&edit, "ipaddrEdit");
        EXPECT_EQ(name->text(), QString());
        EXPECT_EQ(address->text(), QStringLiteral("192.168.1."));           // the proposal, in the mask
        EXPECT_EQ(address->inputMask(), QStringLiteral("009.009.009.009")); // blank is a space
        EXPECT_TRUE(name->isEnabled());
        type(name, QStringLiteral("Transmitter_2"));
        address->setText(QStringLiteral("10. 1.  2.3"));
        edit.accept();
        return edit.result();
    };
    child<QPushButton>(&dlg, "pushBtn_ADD")->click();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.nameAt(0), QStringLiteral("Transmitter_2"));
    EXPECT_EQ(list.recordAt(0)->ipAddress(), QStringLiteral("10.1.2.3"));
    EXPECT_EQ(child<QListWidget>(&dlg, "listWidget")->count(), 1);
    IniStore cfg(maps().filePath(QStringLiteral("Transmitter_2.cfg")), IniStore::XmlFile);
    EXPECT_EQ(cfg.readString(QStringLiteral("Device"), QStringLiteral("IPAddr"), {}),
              QStringLiteral("10.1.2.3"));
}

#ifdef Q_OS_UNIX
TEST_F(Devices, ADeviceWhoseFileCannotBeWrittenIsNotAddedAndAnEditThatCannotBeSavedWarns)
{
    addFile(QStringLiteral("One"), QStringLiteral("1.1.1.1"));
    DeviceList list(maps());
    MessageRecorder messages;
    tcDevicesDlg dlg(&list);
    orba::test::DialogAnswer<tcDeviceEditDlg> edits;
    QString address = QStringLiteral("10.0.0.1");
    edits.answer = [&](tcDeviceEditDlg &edit) {
        auto *name = child<QLineEdit>(&edit, "nameEdit");
        if (name->isEnabled())
            type(name, QStringLiteral("Transmitter"));
        child<QLineEdit>(&edit, "ipaddrEdit")->setText(address);
        edit.accept();
        return edit.result();
    };
    {
        orba::test::FileSizeLimit limit(20); // as on a full disk
        ASSERT_TRUE(limit.active());
        child<QPushButton>(&dlg, "pushBtn_ADD")->click();
        child<QListWidget>(&dlg, "listWidget")->setCurrentRow(0);
        address = QStringLiteral("172.16.0.9");
        child<QPushButton>(&dlg, "pushBtn_EDIT")->click();
    }
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(child<QListWidget>(&dlg, "listWidget")->count(), 1);
    EXPECT_FALSE(QFile::exists(maps().filePath(QStringLiteral("Transmitter.cfg"))));
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Devices"));
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("The device \"Transmitter\" could not be saved to \"%1\" and was not added.")
                  .arg(maps().filePath(QStringLiteral("Transmitter.cfg"))));
    EXPECT_EQ(messages.messages()[1].text,
              QStringLiteral("The address of \"One\" could not be saved to \"%1\".")
                  .arg(list.recordAt(0)->filePath()));
    EXPECT_EQ(DeviceRecord(QStringLiteral("One"), maps()).ipAddress(), QStringLiteral("1.1.1.1"));
}
#endif

TEST_F(Devices, AddingANameThatExistsIsRefused)
{
    addFile(QStringLiteral("Main"), QStringLiteral("1.1.1.1"));
    DeviceList list(maps());
    MessageRecorder messages;
    tcDevicesDlg dlg(&list);
    orba::test::DialogAnswer<tcDeviceEditDlg> edits;
    edits.answer = [&](tcDeviceEditDlg &edit) {
        type(child<QLineEdit>(&edit, "nameEdit"), QStringLiteral("Main"));
        child<QLineEdit>(&edit, "ipaddrEdit")->setText(QStringLiteral("9.9.9.9"));
        edit.accept();
        return edit.result();
    };
    child<QPushButton>(&dlg, "pushBtn_ADD")->click();
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.recordAt(0)->ipAddress(), QStringLiteral("1.1.1.1"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("A device named \"Main\" already exists."));
}

TEST_F(Devices, TheNameValidatorAdmitsOnlyItsCharacterSet)
{
    tcDeviceEditDlg edit(QString(), QStringLiteral("192.168.1"), false);
    auto *name = child<QLineEdit>(&edit, "nameEdit");
    type(name, QStringLiteral("Ab 1!@#_z"));
    EXPECT_EQ(name->text(), QStringLiteral("Ab 1_z"));
    name->clear();
    type(name, QStringLiteral("x[y]^`"));
    EXPECT_EQ(name->text(), QStringLiteral("x[y]^`")); // the A-z range lets these through
    name->clear();
    type(name, QString(45, QLatin1Char('n')));
    EXPECT_EQ(name->text().size(), 40);
}

TEST_F(Devices, AnEmptyNameKeepsTheEditDialogOpen)
{
    tcDeviceEditDlg edit(QString(), QStringLiteral("1.2.3.4"), false);
    edit.accept();
    EXPECT_EQ(edit.result(), QDialog::Rejected);
    type(child<QLineEdit>(&edit, "nameEdit"), QStringLiteral("x"));
    edit.accept();
    EXPECT_EQ(edit.result(), QDialog::Accepted);
    EXPECT_EQ(edit.address(), QStringLiteral("1.2.3.4"));
}

TEST_F(Devices, EditingKeepsTheNameAndSavesTheAddress)
{
    addFile(QStringLiteral("One"), QStringLiteral("1.1.1.1"));
    DeviceList list(maps());
    tcDevicesDlg dlg(&list);
    orba::test::DialogAnswer<tcDeviceEditDlg> edits;
    edits.answer = [&](tcDeviceEditDlg &edit) {
        auto *name = child<QLineEdit>(&edit, "nameEdit");
        EXPECT_EQ(name->text(), QStringLiteral("One"));
        EXPECT_FALSE(name->isEnabled());
        EXPECT_FALSE(name->hasFrame());
        type(name, QStringLiteral("Other"));
        child<QLineEdit>(&edit, "ipaddrEdit")->setText(QStringLiteral("172. 16.0.9"));
        edit.accept();
        return edit.result();
    };
    child<QListWidget>(&dlg, "listWidget")->setCurrentRow(0);
    child<QPushButton>(&dlg, "pushBtn_EDIT")->click();
    EXPECT_EQ(list.recordAt(0)->name(), QStringLiteral("One"));
    EXPECT_EQ(list.recordAt(0)->ipAddress(), QStringLiteral("172.16.0.9"));
    DeviceRecord reread(QStringLiteral("One"), maps());
    EXPECT_EQ(reread.ipAddress(), QStringLiteral("172.16.0.9"));
}

TEST_F(Devices, DeletingAsksFirstAndRemovesTheFileOnYes)
{
    addFile(QStringLiteral("Old Site"), QStringLiteral("1.1.1.1"));
    DeviceList list(maps());
    MessageRecorder messages;
    tcDevicesDlg dlg(&list);
    auto *rows = child<QListWidget>(&dlg, "listWidget");
    rows->setCurrentRow(0);
    messages.answer(orba::MsgNo);
    child<QPushButton>(&dlg, "pushBtn_DEL")->click();
    ASSERT_EQ(messages.only(), Box("Delete Device", "Are you sure you want to delete the \"Old Site\" ?"));
    EXPECT_EQ(messages.last().kind, orba::MessageKind::Question);
    EXPECT_EQ(messages.last().buttons, orba::MsgYes | orba::MsgNo);
    EXPECT_EQ(list.count(), 1);

    messages.answer(orba::MsgYes);
    child<QPushButton>(&dlg, "pushBtn_DEL")->click();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(rows->count(), 0);
    EXPECT_FALSE(QFile::exists(maps().filePath(QStringLiteral("Old Site.cfg"))));
    EXPECT_FALSE(child<QPushButton>(&dlg, "pushBtn_DEL")->isEnabled());
}

TEST_F(Devices, ThePasswordDialogInChangeModeChecksTheOldAndTheRepeatedNew)
{
    MessageRecorder messages;
    tcPswdEntryDlg dlg(tcPswdEntryDlg::Change, orba::crc32(std::string_view("old")));
    auto *pswd = child<QLineEdit>(&dlg, "edit_pswd");
    auto *fresh = child<QLineEdit>(&dlg, "edit_new");
    auto *verify = child<QLineEdit>(&dlg, "edit_verify");
    const auto fill = [&](const char *current, const char *wanted, const char *repeated) {
        if (current)
            pswd->setText(QString::fromLatin1(current));
        fresh->setText(QString::fromLatin1(wanted));
        verify->setText(QString::fromLatin1(repeated));
        dlg.accept();
    };
    fill("wrong", "new", "new");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    ASSERT_EQ(messages.only(), Box("Incorrect Password", "Incorrect current password.\n"));
    EXPECT_TRUE(pswd->text().isEmpty());
    EXPECT_TRUE(fresh->text().isEmpty());

    fill("old", "new", "neu");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral(
            "The new password did not match the verify password.\nPlease re-enter the new password.\n"));
    EXPECT_EQ(pswd->text(), QStringLiteral("old"));
    EXPECT_TRUE(verify->text().isEmpty());

    fill(nullptr, "new", "new");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.newPasswordCrc(), orba::crc32(std::string_view("new")));
}
