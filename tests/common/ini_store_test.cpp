#include "common/crc32.h"
#include "common/ini_store.h"
#include "message_recorder.h"
#include "test_files.h"
#include "work_dir.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <gtest/gtest.h>

using orba::test::FileSizeLimit;
using orba::test::MessageRecorder;
using orba::test::readAll;
using orba::test::WorkDirTest;
using orba::test::writeAll;

TEST(Crc32, MatchesTheIeeeCheckValueAndGivesZeroForEmptyText)
{
    EXPECT_EQ(orba::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(orba::crc32(""), 0u);
    EXPECT_NE(orba::crc32("0"), 0u); // a code of "0" is a real code
    orba::Crc32 pieces;
    pieces.update("1234", 4);
    pieces.update("56789", 5);
    EXPECT_EQ(pieces.value(), 0xCBF43926u);
}

using IniStoreTest = WorkDirTest;

TEST_F(IniStoreTest, WritesTheExactXmlLayoutWithSectionsSortedAndEscaped)
{
    {
        IniStore s("a.cfg", IniStore::XmlFile);
        s.writeString("Zeta", "k", "1");
        s.writeString("Device", "IPAddr", "10.0.0.5");
        s.writeString("Alpha", "text", "a<b & \"c\">");
        s.writeInt("Alpha", "count", -7);
        EXPECT_TRUE(s.isDirty());
        EXPECT_TRUE(s.flush());
        EXPECT_FALSE(s.isDirty());
    }
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                "<INI>\n"
                                "<Alpha\n"
                                "    count=\"-7\"\n"
                                "    text=\"a&lt;b &amp; &quot;c&quot;&gt;\"\n"
                                "/>\n"
                                "<Device\n"
                                "    IPAddr=\"10.0.0.5\"\n"
                                "/>\n"
                                "<Zeta\n"
                                "    k=\"1\"\n"
                                "/>\n"
                                "</INI>\n";
    EXPECT_EQ(readAll(path("a.cfg")), expected);
}

TEST_F(IniStoreTest, ReadsBackEveryEntryUnchanged)
{
    const QString tricky = QStringLiteral("&amp; <tag> \"quoted\" & more");
    {
        IniStore s("r.cfg", IniStore::XmlFile);
        s.writeString("OPTIONS", "ONLINE", "1");
        s.writeString("DEVICE", "name", tricky);
        s.writeString("Empty", "value", "");
    }
    IniStore s("r.cfg", IniStore::XmlFile);
    EXPECT_FALSE(s.isDirty());
    EXPECT_EQ(s.readString("DEVICE", "name", "x"), tricky);
    EXPECT_EQ(s.readInt("OPTIONS", "ONLINE", 0), 1);
    // An entry that exists but is empty is returned as empty, not as the default.
    EXPECT_EQ(s.readString("Empty", "value", "default"), QString());
    EXPECT_EQ(s.readString("Missing", "value", "default"), QStringLiteral("default"));
    EXPECT_EQ(s.entries().size(), 3u);
}

TEST_F(IniStoreTest, ReadIntTakesTheLeadingNumberAndDefaultsWhenMissing)
{
    IniStore s("i.cfg", IniStore::XmlFile);
    s.writeString("S", "mixed", "12abc");
    s.writeString("S", "word", "abc");
    s.writeString("S", "negative", "-42");
    EXPECT_EQ(s.readInt("S", "mixed", 5), 12);
    EXPECT_EQ(s.readInt("S", "word", 5), 0);
    EXPECT_EQ(s.readInt("S", "negative", 5), -42);
    EXPECT_EQ(s.readInt("S", "missing", 5), 5);
    char buf[6];
    s.readString("S", "mixed", "default", buf, sizeof buf);
    EXPECT_STREQ(buf, "12abc");
    s.readString("S", "missing", "defaults", buf, sizeof buf);
    EXPECT_STREQ(buf, "defau");
}

TEST_F(IniStoreTest, OrbaElementsAddNothingAndOtherElementsCountAtAnyDepth)
{
    ASSERT_TRUE(writeAll(path("d.cfg"), "<?xml version=\"1.0\"?>\n"
                                        "<INI>\n"
                                        "  <ORBA secret=\"1\"><Inner a=\"x\"/></ORBA>\n"
                                        "  <Outer b=\"2\"><Deep c=\"3\"><Deeper d=\"4\"/></Deep></Outer>\n"
                                        "</INI>\n"));
    IniStore s("d.cfg", IniStore::XmlFile);
    EXPECT_EQ(s.readString("ORBA", "secret", "none"), QStringLiteral("none"));
    EXPECT_EQ(s.readString("Inner", "a", ""), QStringLiteral("x"));
    EXPECT_EQ(s.readInt("Outer", "b", 0), 2);
    EXPECT_EQ(s.readInt("Deep", "c", 0), 3);
    EXPECT_EQ(s.readInt("Deeper", "d", 0), 4);
}

TEST_F(IniStoreTest, ADamagedFileIsKeptAsBadWithOneMessageAndTheStoreStartsEmpty)
{
    const QByteArray good = "<?xml version=\"1.0\"?>\n<INI>\n<A\n    k=\"1\"\n/>\n";
    const struct
    {
        const char *what;
        QByteArray doc;
        int line;
    } cases[] = {
        {"bare ampersand", good + "<B\n    k=\"&\"\n/>\n</INI>\n", 7},
        {"truncated", good + "<B\n    k=\"2", 6},
        {"invalid UTF-8", good + "<B\n    k=\"\xC3\x28\"\n/>\n</INI>\n", 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path("KELQT.ini.bad"));
        ASSERT_TRUE(writeAll(path("KELQT.ini"), c.doc));
        MessageRecorder messages;
        {
            IniStore s("KELQT.ini", IniStore::XmlFile);
            EXPECT_TRUE(s.entries().empty()); // not the entries before the error
            ASSERT_EQ(messages.messages().size(), 1u);
            EXPECT_EQ(messages.last().title, QStringLiteral("Settings File"));
            EXPECT_TRUE(messages.last().text.startsWith(
                QStringLiteral("The settings file \"KELQT.ini\" cannot be used: it is damaged at line %1 ")
                    .arg(c.line)))
                << messages.last().text.toStdString();
            EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"KELQT.ini.bad\"")));
            EXPECT_EQ(readAll(path("KELQT.ini.bad")), c.doc);
            s.writeInt("OPTIONS", "ONLINE", 1);
        }
        EXPECT_EQ(readAll(path("KELQT.ini.bad")), c.doc);
        IniStore again("KELQT.ini", IniStore::XmlFile);
        EXPECT_EQ(again.entries().size(), 1u);
        EXPECT_EQ(messages.messages().size(), 1u);
    }
}

TEST_F(IniStoreTest, AnEarlierBadFileIsNotOverwritten)
{
    ASSERT_TRUE(writeAll(path("KELQT.ini.bad"), "first"));
    ASSERT_TRUE(writeAll(path("KELQT.ini.1.bad"), "second"));
    ASSERT_TRUE(writeAll(path("KELQT.ini"), "<INI>&</INI>"));
    MessageRecorder messages;
    IniStore s("KELQT.ini", IniStore::XmlFile);
    EXPECT_EQ(readAll(path("KELQT.ini.bad")), "first");
    EXPECT_EQ(readAll(path("KELQT.ini.1.bad")), "second");
    EXPECT_EQ(readAll(path("KELQT.ini.2.bad")), "<INI>&</INI>");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"KELQT.ini.2.bad\"")));
    IniStore missing("nothing-here.cfg", IniStore::XmlFile);
    EXPECT_TRUE(missing.entries().empty());
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(IniStoreTest, AFileOverTheSizeLimitIsKeptAsBadUnread)
{
    QByteArray doc = "<INI>\n<Device\n    IPAddr=\"";
    doc += QByteArray(5 * 1024 * 1024, '1');
    doc += "\"\n/>\n</INI>\n";
    ASSERT_TRUE(writeAll(path("x.cfg"), doc));
    MessageRecorder messages;
    IniStore s("x.cfg", IniStore::XmlFile);
    EXPECT_TRUE(s.entries().empty());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("larger than 1 MiB")))
        << messages.last().text.toStdString();
    EXPECT_EQ(QFileInfo(path("x.cfg.bad")).size(), doc.size());
}

TEST_F(IniStoreTest, ALongValueUnderTheLimitReadsBack)
{
    const QString address(900 * 1024, QLatin1Char('7'));
    {
        IniStore s("x.cfg", IniStore::XmlFile);
        s.writeString("Device", "IPAddr", address);
    }
    MessageRecorder messages;
    IniStore s("x.cfg", IniStore::XmlFile);
    EXPECT_EQ(s.readString("Device", "IPAddr", ""), address);
    EXPECT_TRUE(messages.empty());
}

TEST_F(IniStoreTest, ControlCharactersInAValueReadBackAndKeepTheEntriesAfterThem)
{
    const QString tricky = QStringLiteral("a\u0001b\u001b[0m\tc\nd\re ") + QChar(0) + QChar(0xE000) +
                           QStringLiteral("0041 ") + QChar(0xFFFF) + QChar(0xD800) +
                           QStringLiteral(" \u00e9\U0001F600");
    {
        IniStore s("c.cfg", IniStore::XmlFile);
        s.writeString("PRESETS", "PACKAGES", tricky);
        s.writeString("SKIN", "name", "after");
        s.writeString("Zeta", "k", "last");
    }
    MessageRecorder messages;
    IniStore s("c.cfg", IniStore::XmlFile);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(s.readString("PRESETS", "PACKAGES", ""), tricky);
    EXPECT_EQ(s.readString("SKIN", "name", ""), QStringLiteral("after"));
    EXPECT_EQ(s.readString("Zeta", "k", ""), QStringLiteral("last"));
}

TEST_F(IniStoreTest, ASettingsFileThatIsNoRegularFileIsLeftAloneAndNeverWritten)
{
    ASSERT_TRUE(QDir().mkdir(path("d.cfg")));
    MessageRecorder messages;
    {
        IniStore s("d.cfg", IniStore::XmlFile);
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("not a regular file")));
        s.writeInt("OPTIONS", "ONLINE", 1);
        EXPECT_FALSE(s.flush());
    }
    EXPECT_TRUE(QFileInfo(path("d.cfg")).isDir());
}

TEST_F(IniStoreTest, SaveOnWriteWritesEachChangeAtOnce)
{
    IniStore s("w.cfg", IniStore::XmlFile);
    s.setSaveOnWrite(true);
    s.writeString("DEVICE", "name", "Studio");
    EXPECT_FALSE(s.isDirty());
    IniStore reader("w.cfg", IniStore::XmlFile);
    EXPECT_EQ(reader.readString("DEVICE", "name", ""), QStringLiteral("Studio"));
}

TEST_F(IniStoreTest, AFailedWriteKeepsTheOldFileAndStaysDirtyForTheNextFlush)
{
    {
        IniStore s("k.cfg", IniStore::XmlFile);
        s.writeString("OPTIONS", "ONLINE", "1");
    }
    const QByteArray before = readAll(path("k.cfg"));
    ASSERT_FALSE(before.isEmpty());

    IniStore s("k.cfg", IniStore::XmlFile);
    s.writeString("OPTIONS", "ONLINE", "0");
    s.writeString("DEVICE", "name", QString(4000, QLatin1Char('x')));
    {
        FileSizeLimit full(1024);
        EXPECT_FALSE(s.flush());
    }
    EXPECT_TRUE(s.isDirty());
    EXPECT_EQ(readAll(path("k.cfg")), before);
    EXPECT_EQ(QDir(path()).entryList(QDir::Files), QStringList{"k.cfg"}); // no temporary left behind

    EXPECT_TRUE(s.flush()); // the next flush retries
    IniStore again("k.cfg", IniStore::XmlFile);
    EXPECT_EQ(again.readInt("OPTIONS", "ONLINE", 9), 0);
    EXPECT_EQ(again.readString("DEVICE", "name", "").size(), 4000);
}

TEST_F(IniStoreTest, WritingBackTheStoredValueLeavesTheFileAlone)
{
    {
        IniStore s("k.cfg", IniStore::XmlFile);
        s.writeInt("OPTIONS", "ONLINE", 1);
    }
    IniStore s("k.cfg", IniStore::XmlFile);
    s.writeInt("OPTIONS", "ONLINE", 1); // as the start-up does with what it read
    EXPECT_FALSE(s.isDirty());
    s.writeString("OPTIONS", "NEW", "");
    EXPECT_TRUE(s.isDirty()); // a new key counts, even when empty
    ASSERT_TRUE(s.flush());
    s.writeInt("OPTIONS", "ONLINE", 0);
    EXPECT_TRUE(s.isDirty());
}

TEST_F(IniStoreTest, ProfileBackEndWritesAtOnceAndReadsTextAndNumbers)
{
    {
        IniStore s("ap_scale.ini", IniStore::ProfileFile);
        s.writeString("scale", "X", "1.5");
        s.writeString("scale", "Y", "2,5"); // a comma is no list separator in a profile value
        s.writeInt("scale", "N", 12);
        IniStore reader("ap_scale.ini", IniStore::ProfileFile);
        EXPECT_EQ(reader.readString("scale", "X", "1.0"), QStringLiteral("1.5"));
    }
    IniStore s("ap_scale.ini", IniStore::ProfileFile);
    EXPECT_EQ(s.readString("scale", "Y", "1.0"), QStringLiteral("2,5"));
    EXPECT_EQ(s.readInt("scale", "N", 0), 12);
    EXPECT_EQ(s.readString("scale", "Z", "1.0"), QStringLiteral("1.0"));
    EXPECT_EQ(s.readInt("scale", "Z", 7), 7);
}
