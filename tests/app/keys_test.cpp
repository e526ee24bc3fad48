// The window's keys, the lock guarding save and take, and the help page.
#include "app/help_dlg.h"
#include "app_window_test.h"
#include "common/crc32.h"
#include "gui/gui_knob.h"
#include "panels/access_classes.h"
#include "tables/setting_ids.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace orba;

namespace {

class Keys : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        useStudioWithPanelSkin();
    }
    // Shortcuts act in the active window only.
    KelWidget &openActive()
    {
        KelWidget &w = open();
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    // Records the class of every dialog the window runs, and cancels it.
    void recordDialogs()
    {
        answer = [this](QDialog *d) {
            dialogs << QString::fromLatin1(d->metaObject()->className());
            if (auto *help = qobject_cast<tcHelpDlg *>(d)) {
                helpTitle = help->windowTitle();
                helpText = help->browser()->toPlainText();
            }
            return int(QDialog::Rejected);
        };
    }
    void press(KelWidget &w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&w, Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    QStringList dialogs;
    QString helpTitle, helpText;
};

TEST_F(Keys, CtrlSSavesCtrlTTakesF1HelpsAndCtrlQExitsAsTheMenuDoes)
{
    KelWidget &w = openActive();
    goOnline();
    recordDialogs();

    press(w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("tcPresetSaveDlg")});
    dialogs.clear();
    press(w, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("tcPresetTakeDlg")});
    dialogs.clear();
    press(w, Qt::Key_F1);
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("tcHelpDlg")});
    EXPECT_EQ(helpTitle, QStringLiteral("ORBA Remote Help"));
    for (const char *keyName : {"Tab", "PgUp", "Ctrl+Z", "Ctrl+S", "Ctrl+T", "Ctrl+Q", "F1"})
        EXPECT_TRUE(helpText.contains(QString::fromLatin1(keyName))) << keyName;

    ASSERT_TRUE(w.isVisible());
    press(w, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Keys, ALockThatGuardsSavesAndTakesAsksForTheCodeBeforeTheirKeys)
{
    KelWidget &w = openActive();
    goOnline();
    w.kelBench()->setAccess(crc32("2468"), kRestrictSaves | kRestrictTakes);
    w.kelBench()->setLock(true);
    recordDialogs();

    press(w, Qt::Key_S, Qt::ControlModifier);
    press(w, Qt::Key_T, Qt::ControlModifier);
    // The unlock prompt each time, cancelled: neither preset dialog opens.
    EXPECT_EQ(dialogs,
              (QStringList{QStringLiteral("tcGuiLockCheckDlg"), QStringLiteral("tcGuiLockCheckDlg")}));

    // Help and exit are never guarded.
    dialogs.clear();
    press(w, Qt::Key_F1);
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("tcHelpDlg")});
}

TEST_F(Keys, StepsFromTheKeysAreEditsThatCtrlZUndoes)
{
    KelWidget &w = openActive();
    goOnline();
    w.kelBench()->setScreen(tcKelBench::kInputScreen);
    const uint16_t id = SettingId::InputLineGain;
    const uint32_t start = session().live().getRaw(id);
    w.kelBench()->setFocusedObject(object<tcGuiObject>("INPUT_ANA_GAIN_KNOB"));
    for (int i = 0; i < 3; ++i)
        press(w, Qt::Key_Up);
    ASSERT_EQ(session().live().getRaw(id), start + 3);
    // Quick steps make one undo step, as a wheel turn does; a slow machine may split them.
    for (int i = 0; i < 3 && session().live().getRaw(id) != start; ++i)
        press(w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(session().live().getRaw(id), start);
    EXPECT_EQ(object<tcGuiKnob>("INPUT_ANA_GAIN_KNOB")->value(), int(start));
}

TEST_F(Keys, TheHelpPageNamesTheGuideWhenOneIsFound)
{
    EXPECT_TRUE(tcHelpDlg::page(QString()).contains(QStringLiteral("README.md")));
    const QString page = tcHelpDlg::page(QStringLiteral("/opt/orba/README.md"));
    EXPECT_TRUE(page.contains(QStringLiteral("file:///opt/orba/README.md")));
    // A README.md in the working folder is the one shown.
    QFile readme(QStringLiteral("README.md"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    EXPECT_EQ(tcHelpDlg::findReadme(), QDir::current().absoluteFilePath(QStringLiteral("README.md")));
}

} // namespace
