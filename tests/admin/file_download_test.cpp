// The download state machine: blocks paced by acknowledgements, the answer codes, the countdowns
// stepped tick by tick, and acknowledgements from the link's thread reaching it only queued.
#include "admin/file_download.h"
#include "link/frames.h"
#include "session/session.h"
#include "test_files.h"
#include "wait.h"
#include "work_dir.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace orba;

namespace {

struct SentBlock
{
    int block, count;
    QByteArray bytes;
    QThread *thread;
};

struct Sink
{
    std::vector<SentBlock> sent;
    static void send(void *context, uint16_t block, uint16_t count, uint16_t byteCount, const uint8_t *bytes)
    {
        static_cast<Sink *>(context)->sent.push_back(
            {block, count, QByteArray(reinterpret_cast<const char *>(bytes), byteCount),
             QThread::currentThread()});
    }
};

QByteArray image(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 1024);
    return bytes;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

class Download : public test::WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(test::writeAll(QStringLiteral("fw.tbn"), image(3000)));
        settings = firmwareDownloadSettings(path(QStringLiteral("fw.tbn")), nullptr);
        settings.send = &Sink::send;
        settings.context = &sink;
    }
    std::unique_ptr<FileDownload> started()
    {
        auto d = std::make_unique<FileDownload>(settings);
        ended = std::make_unique<QSignalSpy>(d.get(), &FileDownload::ended);
        labels = std::make_unique<QSignalSpy>(d.get(), &FileDownload::labelChanged);
        progress = std::make_unique<QSignalSpy>(d.get(), &FileDownload::progressChanged);
        cancel = std::make_unique<QSignalSpy>(d.get(), &FileDownload::cancelAllowed);
        d->start();
        settle();
        return d;
    }
    void ack(FileDownload &d, int block, int count, int code = FW_ACK_BLOCK, const QString &text = {})
    {
        d.on_fw_ack(block, count, code, text);
        settle();
    }
    static void ticks(FileDownload &d, int n)
    {
        for (int i = 0; i < n; ++i)
            d.slot_timer();
        settle();
    }

    Sink sink;
    DownloadSettings settings;
    std::unique_ptr<QSignalSpy> ended, labels, progress, cancel;
};

} // namespace

TEST_F(Download, ThreeThousandBytesGoOutAsThreeBlocksOfOneKilobyteAndTheRest)
{
    auto d = started();
    ASSERT_EQ(sink.sent.size(), 1u);
    ack(*d, 1, 3);
    ack(*d, 2, 3);
    ASSERT_EQ(sink.sent.size(), 3u);
    const QByteArray whole = image(3000);
    const int sizes[] = {1024, 1024, 952};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sink.sent[i].block, i + 1);
        EXPECT_EQ(sink.sent[i].count, 3);
        EXPECT_EQ(sink.sent[i].bytes, whole.mid(i * 1024, sizes[i]));
    }
    ASSERT_GE(progress->size(), 2);
    EXPECT_EQ(progress->last().at(0).toInt(), 66);
}

TEST_F(Download, AnAcknowledgementForAnotherBlockOrCountIsIgnoredAndTheCountdownRuns)
{
    auto d = started();
    ticks(*d, 5);
    ack(*d, 2, 3);
    ack(*d, 1, 4);
    ack(*d, 0, 3);
    EXPECT_EQ(sink.sent.size(), 1u);
    EXPECT_TRUE(progress->isEmpty());
    ticks(*d, 5);
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), int(DOWNLOAD_ERROR));
}

TEST_F(Download, TenTicksWithoutAnAcknowledgementEndWithTheNoResponseErrorAndEachOneRestartsThem)
{
    auto d = started();
    ticks(*d, 9);
    ack(*d, 1, 3);
    ticks(*d, 9);
    EXPECT_TRUE(ended->isEmpty());
    ticks(*d, 1);
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), int(DOWNLOAD_ERROR));
    EXPECT_EQ(ended->at(0).at(1).toString(), QStringLiteral("No response from the ORBA."));
    ticks(*d, 20);
    EXPECT_EQ(ended->size(), 1);
    EXPECT_EQ(sink.sent.size(), 2u);
}

TEST_F(Download, AfterTheLastAcknowledgementCancelIsRefusedAndTheWritingTextShows)
{
    auto d = started();
    ack(*d, 1, 3);
    ack(*d, 2, 3);
    EXPECT_TRUE(cancel->isEmpty());
    ack(*d, 3, 3);
    EXPECT_TRUE(d->flashStarted());
    ASSERT_EQ(cancel->size(), 1);
    EXPECT_FALSE(cancel->at(0).at(0).toBool());
    ASSERT_FALSE(labels->isEmpty());
    EXPECT_EQ(labels->last().at(0).toString(),
              QStringLiteral("Writing ORBA Image To Flash ROM...\nThis may take several seconds."));
    EXPECT_EQ(progress->last().at(0).toInt(), 100);
    EXPECT_EQ(sink.sent.size(), 3u);
    // Now the flash countdown: 30 ticks, not 10.
    ticks(*d, 29);
    EXPECT_TRUE(ended->isEmpty());
    ticks(*d, 1);
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(
        ended->at(0).at(1).toString(),
        QStringLiteral("No response from the ORBA after Flash re-progam began.\n\nThis could be a serious "
                       "problem.\n"));
}

TEST_F(Download, CodeFourMovesTheBarAndShowsItsText)
{
    auto d = started();
    ack(*d, 2, 5, FW_ACK_PROGRESS, QStringLiteral("Erasing 40%"));
    ASSERT_EQ(progress->size(), 1);
    EXPECT_EQ(progress->at(0).at(0).toInt(), 40);
    ASSERT_EQ(labels->size(), 1);
    EXPECT_EQ(labels->at(0).at(0).toString(), QStringLiteral("Erasing 40%"));
    ack(*d, 0, 0, FW_ACK_PROGRESS, QStringLiteral("No count"));
    EXPECT_EQ(progress->last().at(0).toInt(), 0);
    ack(*d, 9, 9, FW_ACK_MESSAGE, QStringLiteral("Just a message"));
    EXPECT_EQ(labels->last().at(0).toString(), QStringLiteral("Just a message"));
    EXPECT_EQ(progress->size(), 2);
    EXPECT_TRUE(ended->isEmpty());
}

TEST_F(Download, SuccessOnlyForTheLastBlockSentAndErrorsWithTheProcessorsText)
{
    auto d = started();
    ack(*d, 1, 3);
    ack(*d, 1, 3, FW_ACK_DONE);
    ack(*d, 2, 4, FW_ACK_DONE);
    ack(*d, 7, 3, 5);
    EXPECT_TRUE(ended->isEmpty());
    ack(*d, 2, 3, FW_ACK_DONE);
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), int(DOWNLOAD_SUCCESS));

    auto e = started();
    ack(*e, 1, 3, FW_ACK_ERROR, QStringLiteral("Bad block"));
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), int(DOWNLOAD_ERROR));
    EXPECT_EQ(ended->at(0).at(1).toString(), QStringLiteral("Bad block"));
}

TEST_F(Download, AMissingFileOrAnEmptyBufferEndsAtOnceAndSendsNothing)
{
    settings.filePath = path(QStringLiteral("gone.tbn"));
    auto d = started();
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(1).toString(), QStringLiteral("File open failed"));
    settings.sourceKind = 0;
    auto b = started();
    ASSERT_EQ(ended->size(), 1);
    EXPECT_EQ(ended->at(0).at(1).toString(), QStringLiteral("Invalid buffer"));
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(Download, ABufferGoesOutLikeAFile)
{
    const QByteArray bytes = image(2048);
    settings.sourceKind = 0;
    settings.buffer = reinterpret_cast<const uint8_t *>(bytes.constData());
    settings.bufferSize = uint32_t(bytes.size());
    auto d = started();
    ack(*d, 1, 2);
    ack(*d, 2, 2);
    ASSERT_EQ(sink.sent.size(), 2u);
    EXPECT_EQ(sink.sent[1].bytes, bytes.mid(1024));
    EXPECT_TRUE(d->flashStarted());
}

TEST_F(Download, AcknowledgementsFromTheLinkThreadAreHandledOnTheDownloadsThread)
{
    Session session;
    auto d = started();
    QObject::connect(&session, &Session::sig_fw_ack, d.get(), &FileDownload::on_fw_ack);
    for (int block = 1; block <= 3; ++block) {
        uint8_t frame[64];
        const size_t length = buildFwAck(frame, uint16_t(block), 3, 0, "");
        std::thread link([&] { session.link().dispatch_frame(frame, length); });
        link.join();
        ASSERT_TRUE(test::waitProcessingEvents([&] { return d->lastBlock() > block || d->flashStarted(); }));
    }
    EXPECT_TRUE(d->flashStarted());
    ASSERT_EQ(sink.sent.size(), 3u);
    for (const SentBlock &b : sink.sent)
        EXPECT_EQ(b.thread, QThread::currentThread());
}

TEST_F(Download, AnAcknowledgementCalledOnAnotherThreadMovesTheDownloadOnlyOnItsOwn)
{
    auto d = started();
    for (int block = 1; block <= 2; ++block) {
        std::thread link([&] { d->on_fw_ack(block, 3, FW_ACK_BLOCK, QString()); });
        link.join();
        ASSERT_TRUE(test::waitProcessingEvents([&] { return d->lastBlock() > block; }));
    }
    ASSERT_EQ(sink.sent.size(), 3u);
    for (const SentBlock &b : sink.sent)
        EXPECT_EQ(b.thread, QThread::currentThread());
}
