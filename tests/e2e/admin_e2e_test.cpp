// The window's firmware upgrade and IP assignment against orba-sim on loopback: the download
// dialog runs modally on its real one-second tick until the simulator has written its flash, and
// the IP assignment dialog answers the simulator's boot client.
#include "admin/file_downloader_dlg.h"
#include "admin/net_server_dlg.h"
#include "e2e_fixture.h"
#include "gui/file_choice.h"
#include "test_files.h"

#include <QLCDNumber>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace orba;
using orba::test::SimProcess;

namespace {

constexpr int kGiveUpMs = 60000; // only so a broken run fails instead of hanging

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 20000)
{
    return orba::test::waitProcessingEvents(condition, timeoutMs);
}

class AdminEndToEnd : public orba::test::EndToEnd
{
protected:
    void TearDown() override
    {
        setOpenFileHandler(m_previousChooser);
        if (m_forReal)
            setDialogHandler(m_previousDialogs);
        EndToEnd::TearDown();
    }
    // Every dialog runs for real (exec), closed by a deadline only if it never ends by itself.
    void runDialogsForReal(const std::function<void(QDialog *)> &meanwhile = {})
    {
        m_forReal = true;
        m_previousDialogs = setDialogHandler([meanwhile](QDialog *d) {
            QTimer giveUp;
            giveUp.setSingleShot(true);
            QObject::connect(&giveUp, &QTimer::timeout, d, [d] { d->done(-1); });
            giveUp.start(kGiveUpMs);
            if (meanwhile)
                QTimer::singleShot(0, d, [meanwhile, d] { meanwhile(d); });
            return d->exec();
        });
    }

    OpenFileHandler m_previousChooser;
    DialogHandler m_previousDialogs;
    bool m_forReal = false;
};

// The simulator writes its flash in two seconds.
class Download : public AdminEndToEnd
{
protected:
    void SetUp() override
    {
        simArguments = {QStringLiteral("--flash-seconds"), QStringLiteral("2")};
        AdminEndToEnd::SetUp();
    }
};

// Off line; the simulator's boot client asks on a port of this test's own.
class BootClient : public AdminEndToEnd
{
protected:
    void SetUp() override
    {
        simArguments = {QStringLiteral("--boot-mac"), QStringLiteral("02:11:22:33:44:55"),
                        QStringLiteral("--boot-port"), QString::number(bootPort),
                        QStringLiteral("--boot-reply-port"), QString::number(replyPort)};
        onLineAtStart = false;
        AdminEndToEnd::SetUp();
    }
    const uint16_t bootPort = test::freeUdpPort();
    const uint16_t replyPort = test::freeUdpPort();
};

} // namespace

TEST_F(Download, TheDownloadDialogRunsUntilTheSimulatorHasWrittenTheImage)
{
    const QByteArray image =
        QByteArray("TALMEN ORBA UPGRADE\r\nAPVER: 3.4.5\r\nENDHEADER\r\n") + QByteArray(9000, '\x11');
    ASSERT_TRUE(test::writeAll(QStringLiteral("new.tbn"), image));
    const QString file = path(QStringLiteral("new.tbn"));
    m_previousChooser = setOpenFileHandler(
        [file](QWidget *, const QString &, const QString &, const QString &) { return file; });
    int result = 0;
    bool cancelWasRefused = false;
    runDialogsForReal([&](QDialog *d) {
        auto *dialog = qobject_cast<tcFileDownloader *>(d);
        ASSERT_NE(dialog, nullptr);
        // While the simulator writes, Cancel is off.
        QObject::connect(&dialog->download(), &FileDownload::cancelAllowed, d, [&, dialog](bool allowed) {
            cancelWasRefused |= !allowed && !dialog->download().finished();
        });
        QObject::connect(d, &QDialog::finished, d, [&](int r) { result = r; });
    });
    messages.answer(MsgYes);
    window->slot_swup_dlg();
    EXPECT_EQ(result, int(QDialog::Accepted));
    EXPECT_TRUE(cancelWasRefused);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Verify Download"));
    EXPECT_EQ(messages.last().title, QStringLiteral("Download Success"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Reboot the ORBA for the changes to take effect."));
    EXPECT_EQ(sim->framesIn("MSG_FW_BLOCK"), (image.size() + 1023) / 1024);
    // The simulator now reports the new version.
    window->session().link().request_version();
    EXPECT_TRUE(waitFor([&] { return window->session().version().major == 3; }));
    EXPECT_EQ(window->session().version().minor, 4);
}

TEST_F(BootClient, TheIpAssignmentDialogAnswersTheSimulatorsBootClient)
{
    BootServerOptions boot;
    boot.port = bootPort;
    boot.replyAddress = QHostAddress(QHostAddress::LocalHost);
    boot.replyPort = replyPort;
    window->setBootServerOptions(boot);
    int counted = 0;
    runDialogsForReal([&](QDialog *d) {
        ASSERT_NE(qobject_cast<tcNetServerDlg *>(d), nullptr);
        d->findChild<QLineEdit *>(QStringLiteral("edit_MAC"))->setText(QStringLiteral("02:11:22:33:44:55"));
        d->findChild<QLineEdit *>(QStringLiteral("edit_IP"))->setText(QStringLiteral("10.0.0.5"));
        d->findChild<QLineEdit *>(QStringLiteral("edit_GW"))->setText(QStringLiteral("10.0.0.1"));
        d->findChild<QLineEdit *>(QStringLiteral("edit_NAME"))->setText(QStringLiteral("Rack12"));
        d->findChild<QPushButton *>(QStringLiteral("btn_START"))->click();
        auto *lcd = d->findChild<QLCDNumber *>(QStringLiteral("lcd_REQ"));
        EXPECT_TRUE(waitFor([&] {
            return lcd->intValue() >= 2 && sim->output().contains(QStringLiteral("boot reply for"));
        }));
        counted = lcd->intValue();
        d->reject();
    });
    window->slot_netsrvr_dlg();
    EXPECT_GE(counted, 2);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Reboot"));
    EXPECT_TRUE(sim->waitOutput(QStringLiteral("boot reply for 02:11:22:33:44:55: address 10.0.0.5, subnet "
                                               "255.255.255.0, gateway 10.0.0.1, name \"Rack12\"")))
        << sim->output().toStdString();
}
