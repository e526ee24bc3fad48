// The "Download Progress" dialog: its start, Cancel, and the closing boxes; the test steps the tick.
#include "admin/file_downloader_dlg.h"
#include "message_recorder.h"
#include "test_files.h"
#include "work_dir.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace orba;
using orba::test::Box;
using orba::test::MessageRecorder;

namespace {

struct Sent
{
    int block, count, bytes;
};

void record(void *context, uint16_t block, uint16_t count, uint16_t byteCount, const uint8_t *)
{
    static_cast<std::vector<Sent> *>(context)->push_back({block, count, byteCount});
}

class DownloadDialog : public test::WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(test::writeAll(QStringLiteral("fw.tbn"), QByteArray(3000, 'x')));
        settings = firmwareDownloadSettings(path(QStringLiteral("fw.tbn")), nullptr);
        settings.send = &record;
        settings.context = &sent;
    }
    std::unique_ptr<tcFileDownloader> open()
    {
        auto d = std::make_unique<tcFileDownloader>(settings, nullptr, 0);
        QApplication::processEvents();
        return d;
    }
    static void ack(tcFileDownloader &d, int block, int count, int code = FW_ACK_BLOCK,
                    const QString &text = {})
    {
        d.download().on_fw_ack(block, count, code, text);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    static void ticks(tcFileDownloader &d, int n)
    {
        for (int i = 0; i < n; ++i)
            d.download().slot_timer();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    MessageRecorder messages;
    std::vector<Sent> sent;
    DownloadSettings settings;
};

} // namespace

TEST_F(DownloadDialog, StartsWithItsTitleLabelAndTheFirstBlock)
{
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Download Progress"));
    EXPECT_EQ(d->labelMsg()->text(), QStringLiteral("Down Loading..."));
    EXPECT_EQ(d->progressBar()->value(), 0);
    EXPECT_TRUE(d->cancelButton()->isEnabled());
    EXPECT_EQ(d->cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(d->windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_FALSE(d->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(sent.size(), 1u); // the block itself: Download.ThreeThousandBytes*
}

TEST_F(DownloadDialog, NoAcknowledgementWithinTenTicksEndsWithTheNoResponseError)
{
    auto d = open();
    d->show();
    ticks(*d, 9);
    EXPECT_TRUE(messages.empty());
    ticks(*d, 1);
    ASSERT_EQ(messages.only(), Box("Download Error", "Error:No response from the ORBA."));
    EXPECT_EQ(messages.last().kind, MessageKind::Critical);
    EXPECT_EQ(d->result(), int(QDialog::Rejected));
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(d->cancelButton()->isEnabled());
}

TEST_F(DownloadDialog, TheFinalAnswerShowsTheRebootNoticeAndAccepts)
{
    auto d = open();
    d->show();
    for (int b = 1; b <= 3; ++b)
        ack(*d, b, 3);
    ack(*d, 3, 3, FW_ACK_DONE);
    ASSERT_EQ(messages.only(), Box("Download Success", "Reboot the ORBA for the changes to take effect."));
    EXPECT_EQ(messages.last().kind, MessageKind::Information);
    EXPECT_EQ(d->result(), int(QDialog::Accepted));
    ticks(*d, 40);
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(DownloadDialog, TheProcessorsErrorIsShownAfterError)
{
    auto d = open();
    ack(*d, 1, 3, FW_ACK_ERROR, QStringLiteral(" image rejected"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Error: image rejected"));
    EXPECT_EQ(d->result(), int(QDialog::Rejected));
}

TEST_F(DownloadDialog, CancelClosesAtOnceAndNothingMoreIsSent)
{
    auto d = open();
    d->show();
    d->cancelButton()->click();
    EXPECT_EQ(d->result(), int(QDialog::Rejected));
    EXPECT_FALSE(d->isVisible());
    ack(*d, 1, 3);
    ticks(*d, 40);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(messages.empty());
}
