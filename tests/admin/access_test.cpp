// The access dialogs: the keypad, the codes each dialog gives, and a device record that cannot be written.
#include "admin/access_dlgs.h"
#include "admin/device_list.h"
#include "common/crc32.h"
#include "message_recorder.h"
#include "test_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

template <class T> T *child(QWidget *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

void press(QWidget *dialog, const QString &button)
{
    child<QPushButton>(dialog, button)->click();
    QApplication::processEvents(); // the keypad posts its keys
}

TEST(Keypad, EachButtonGivesItsCharacterAndBackspaceEditsLikeTheKeyboard)
{
    tcKeyboardExtension pad;
    QSignalSpy codes(&pad, &tcKeyboardExtension::sig_keypress);
    for (const char *name : {"pushButton_0", "pushButton_7", "pushButton_9", "pushButton_DOT", "pushButton_BKSP"})
        child<QPushButton>(&pad, QString::fromLatin1(name))->click();
    std::vector<int> given;
    for (const QList<QVariant> &args : codes)
        given.push_back(args[0].toInt());
    EXPECT_EQ(given, (std::vector<int>{'0', '7', '9', '.', int(Qt::Key_Backspace)}));

    // The same edits typed and keyed in give the same field, cursor included.
    tcGuiLockCheckDlg keyed;
    for (const char *b : {"pushButton_1", "pushButton_2", "pushButton_3", "pushButton_BKSP", "pushButton_4"})
        press(&keyed, QString::fromLatin1(b));
    tcGuiLockCheckDlg typed;
    QTest::keyClicks(typed.codeEdit(), QStringLiteral("123"));
    QTest::keyClick(typed.codeEdit(), Qt::Key_Backspace);
    QTest::keyClicks(typed.codeEdit(), QStringLiteral("4"));
    EXPECT_EQ(keyed.codeEdit()->text(), QStringLiteral("124"));
    EXPECT_EQ(keyed.codeEdit()->text(), typed.codeEdit()->text());
    EXPECT_EQ(keyed.codeEdit()->cursorPosition(), typed.codeEdit()->cursorPosition());
    EXPECT_EQ(keyed.windowTitle(), QStringLiteral("Restricted Access Code Required"));
    keyed.accept();
    EXPECT_EQ(keyed.code(), QStringLiteral("124"));
}

TEST(AccessCodeDialog, ZeroIsARealCodeAnEmptyOneClearsAndTheMaskHoldsTenDigits)
{
    EXPECT_EQ(orba::accessCrc(QString()), 0u);
    EXPECT_NE(orba::accessCrc(QStringLiteral("0")), 0u);

    tcPasswordDlg dlg(QString(), 16 | 2, nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("GUI Access Code & Permissions"));
    EXPECT_EQ(dlg.codeCrc(), 0u) << "an empty field is no code";
    EXPECT_TRUE(child<QCheckBox>(&dlg, QStringLiteral("screenBox"))->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&dlg, QStringLiteral("takeBox"))->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&dlg, QStringLiteral("paramBox"))->isChecked());
    press(&dlg, QStringLiteral("pushButton_0"));
    EXPECT_EQ(dlg.codeText(), QStringLiteral("0"));
    EXPECT_EQ(dlg.codeCrc(), orba::crc32("0"));

    QTest::keyClicks(dlg.codeEdit(), QStringLiteral("12345678901234"));
    EXPECT_EQ(dlg.codeText(), QStringLiteral("0123456789")) << "ten digits at most";
    QTest::keyClicks(dlg.codeEdit(), QStringLiteral("x"));
    EXPECT_EQ(dlg.codeText(), QStringLiteral("0123456789"));
    press(&dlg, QStringLiteral("clearButton"));
    EXPECT_EQ(dlg.codeCrc(), 0u);

    // Each box is its own bit; bit 3 has none.
    for (const char *name : {"paramBox", "takeBox", "saveBox", "screenBox", "meterBox"})
        child<QCheckBox>(&dlg, QString::fromLatin1(name))->setChecked(true);
    EXPECT_EQ(dlg.bits(), 1u | 2 | 4 | 16 | 32);
    child<QCheckBox>(&dlg, QStringLiteral("meterBox"))->setChecked(false);
    child<QCheckBox>(&dlg, QStringLiteral("paramBox"))->setChecked(false);
    EXPECT_EQ(dlg.bits(), 2u | 4 | 16);
}

TEST(FrontPanelDialog, SpecialValuesComeBackUnchangedAndZeroIsShownAsACode)
{
    for (int value : {tcFpPasswdDlg::kNoPassword, tcFpPasswdDlg::kDisabled, 0, 42, 9999}) {
        tcFpPasswdDlg dlg(value);
        press(&dlg, QStringLiteral("okay"));
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << value;
        EXPECT_EQ(dlg.value(), value);
    }
    tcFpPasswdDlg zero(0);
    EXPECT_TRUE(child<QRadioButton>(&zero, QStringLiteral("passwordRadio"))->isChecked());
    EXPECT_EQ(child<QLineEdit>(&zero, QStringLiteral("pwEdit"))->text(), QStringLiteral("0"));
    tcFpPasswdDlg none(tcFpPasswdDlg::kNoPassword);
    EXPECT_TRUE(child<QRadioButton>(&none, QStringLiteral("nopasswdRadio"))->isChecked());
    EXPECT_FALSE(child<QLineEdit>(&none, QStringLiteral("pwEdit"))->isEnabled());
    tcFpPasswdDlg odd(-5); // anything else is a disabled panel
    EXPECT_TRUE(child<QRadioButton>(&odd, QStringLiteral("disableRadio"))->isChecked());

    // Choosing a code and typing it.
    orba::test::MessageRecorder messages;
    child<QRadioButton>(&none, QStringLiteral("passwordRadio"))->setChecked(true);
    press(&none, QStringLiteral("okay"));
    EXPECT_NE(none.result(), QDialog::Accepted) << "no code typed: nothing is taken";
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Front Panel Password"));
    QTest::keyClicks(child<QLineEdit>(&none, QStringLiteral("pwEdit")), QStringLiteral("07a312"));
    press(&none, QStringLiteral("okay"));
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_EQ(none.value(), 731);
}

#ifdef Q_OS_UNIX
TEST(DeviceRecordAccess, AWriteThatFailsLeavesTheRecordAsItsFileSaysAndIsReported)
{
    QTemporaryDir dir;
    const QDir maps(dir.path());
    DeviceRecord record(QStringLiteral("Tx"), maps);
    ASSERT_TRUE(record.saveAccess(0x1111, 16, false));
    ASSERT_TRUE(record.saveRemoteCrc(0x2222));
    {
        orba::test::FileSizeLimit limit(20); // as on a full disk
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(record.saveLocked(true));
        EXPECT_FALSE(record.saveAccess(0x3333, 1, true));
        EXPECT_FALSE(record.saveRemoteCrc(0x4444));
    }
    EXPECT_EQ(record.userCodeCrc(), 0x1111u);
    EXPECT_EQ(record.userFlags(), 16u);
    EXPECT_FALSE(record.userLocked());
    EXPECT_EQ(record.remoteCodeCrc(), 0x2222u);
    // Nothing of the failed saves rides along with the next save that works.
    ASSERT_TRUE(record.saveAddress());
    DeviceRecord again(QStringLiteral("Tx"), maps);
    EXPECT_EQ(again.userCodeCrc(), 0x1111u);
    EXPECT_FALSE(again.userLocked());
    EXPECT_EQ(again.remoteCodeCrc(), 0x2222u);
}
#endif

} // namespace
