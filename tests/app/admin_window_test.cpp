// The window's firmware file checks and IP assignment dialog; the download itself runs end to end.
#include "admin/file_downloader_dlg.h"
#include "admin/net_server_dlg.h"
#include "app_window_test.h"
#include "gui/file_choice.h"
#include "test_files.h"

#include <QNetworkProxy>
#include <QUdpSocket>

#include <gtest/gtest.h>

using namespace orba;

namespace {

const char kImage[] =
    "TALMEN ORBA UPGRADE\r\nAPVER: 2.1.4\r\nDSPVER: 3.0\r\nMCSVER: 12\r\nBUILD: today\r\nENDHEADER\r\n";

class AdminWindow : public test::AppWindowTest
{
protected:
    void SetUp() override
    {
        AppWindowTest::SetUp();
        useStudioWithPanelSkin();
        m_previousChooser = setOpenFileHandler(
            [this](QWidget *, const QString &caption, const QString &dir, const QString &filter) {
                chooserCaption = caption;
                chooserDir = dir;
                chooserFilter = filter;
                return chosen;
            });
    }
    void TearDown() override
    {
        setOpenFileHandler(m_previousChooser);
        AppWindowTest::TearDown();
    }
    size_t blocksSent() const { return peer.framesOfType(MSG_FW_BLOCK).size(); }

    QString chosen;
    QString chooserCaption, chooserDir, chooserFilter;

private:
    OpenFileHandler m_previousChooser;
};

} // namespace

TEST_F(AdminWindow, AFileWithAnotherSignatureOrWithoutItsEndLineOrACancelledChoiceSendsNothing)
{
    open();
    goOnline();
    ASSERT_TRUE(test::writeAll(QStringLiteral("test.tbn"), "TALMEN TEST UPGRADE\nENDHEADER\nimage bytes"));
    chosen = path(QStringLiteral("test.tbn"));
    messages.clear();
    window->slot_swup_dlg();
    EXPECT_EQ(chooserCaption, QStringLiteral("Choose a file to download"));
    EXPECT_EQ(chooserDir, QStringLiteral("."));
    EXPECT_EQ(chooserFilter, QStringLiteral("Talmen Binary Images (*.tbn)"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageKind::Critical);
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("\nSignature found: TALMEN TEST UPGRADE")))
        << messages.last().text.toStdString();

    ASSERT_TRUE(test::writeAll(QStringLiteral("cut.tbn"), "TALMEN ORBA UPGRADE\nAPVER: 1\n"));
    chosen = path(QStringLiteral("cut.tbn"));
    messages.clear();
    window->slot_swup_dlg();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("This does not appear to be an ORBA file."));
    chosen.clear();
    messages.clear();
    window->slot_swup_dlg();
    EXPECT_TRUE(messages.empty());
    sentArrived();
    EXPECT_EQ(blocksSent(), 0u);
}

TEST_F(AdminWindow, AnsweringNoToTheVersionsSendsNothing)
{
    open();
    goOnline();
    ASSERT_TRUE(test::writeAll(QStringLiteral("fw.tbn"), QByteArray(kImage) + QByteArray(3000, '\x5A')));
    chosen = path(QStringLiteral("fw.tbn"));
    messages.clear();
    messages.answer(MsgNo);
    bool ran = false;
    answer = [&](QDialog *) { return ran = true, int(QDialog::Rejected); };
    window->slot_swup_dlg();
    ASSERT_EQ(messages.only(),
              test::Box("Verify Download",
                        QStringLiteral("TALMEN ORBA UPGRADE\nAP Version:  2.1.4\nDSP Version:  3.0\n"
                                       "FPGA Version:  12\nBuild Date:  today")));
    EXPECT_EQ(messages.last().kind, MessageKind::Question);
    EXPECT_EQ(messages.last().buttons, MsgYes | MsgNo);
    EXPECT_FALSE(ran);
    sentArrived();
    EXPECT_EQ(blocksSent(), 0u);
}

TEST_F(AdminWindow, TheIpAssignmentDialogWorksOfflineOnItsPort)
{
    open();
    QUdpSocket holder;
    holder.setProxy(QNetworkProxy::NoProxy);
    ASSERT_TRUE(holder.bind(QHostAddress(QHostAddress::AnyIPv4), 0, QAbstractSocket::DontShareAddress));
    BootServerOptions boot;
    boot.port = test::freeUdpPort();
    boot.replyAddress = QHostAddress(QHostAddress::LocalHost);
    boot.replyPort = holder.localPort();
    window->setBootServerOptions(boot);
    QString title;
    answer = [&](QDialog *d) {
        title = d->windowTitle();
        EXPECT_NE(qobject_cast<tcNetServerDlg *>(d), nullptr);
        return int(QDialog::Rejected);
    };
    messages.clear();
    window->slot_netsrvr_dlg();
    EXPECT_EQ(title, QStringLiteral("IP Assignment"));
    EXPECT_TRUE(messages.empty());

    boot.port = holder.localPort();
    window->setBootServerOptions(boot);
    window->slot_netsrvr_dlg();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Socket bind to UDP port %1 failed.").arg(boot.port));
}
