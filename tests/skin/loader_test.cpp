// The loader over definitions only; object elements are tested with the GUI vocabulary in tests/gui.
#include "skin/skin_report.h"
#include "skin/skin_test_util.h"
#include "skin/skin_values.h"

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

using LoaderTest = SkinTest;

QByteArray nested(int levels)
{
    // <skin> is the first level.
    QByteArray open, close;
    for (int i = 2; i <= levels; ++i) {
        open += "<n" + QByteArray::number(i) + ">";
        close = "</n" + QByteArray::number(i) + ">" + close;
    }
    return open + close;
}

} // namespace

TEST_F(LoaderTest, NineLevelsLoadAndTheTenthFailsIncludedLevelsCounted)
{
    EXPECT_EQ(loadSkin(nested(9)), 0);
    EXPECT_FALSE(hasMessage(QStringLiteral("nesting")));
    EXPECT_EQ(loadSkin(nested(10)), -1);
    EXPECT_TRUE(hasMessage(QStringLiteral("XML nesting exceeded max depth at line 3 of the skin file.")));
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: Loading the skin file")));
    // Included files' levels count too.
    writeText(skinPath(QStringLiteral("deep.xml")), "<d5><d6><d7><d8><d9><d10/></d9></d8></d7></d6></d5>");
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [<!ENTITY deep SYSTEM \"deep.xml\">]>\n"
                           "<skin><a><b><c>&deep;</c></b></a></skin>\n";
    EXPECT_EQ(loadSkin(xml, true), -1);
    EXPECT_TRUE(hasMessage(QStringLiteral("XML nesting exceeded max depth")));
}

TEST_F(LoaderTest, MissingFileReportsOnlyEnteringAndLeaving)
{
    writeText(path(QStringLiteral("skin/other.txt")), "x");
    tcPlainBench bench(path(QStringLiteral("skin")));
    bench.setQuiet(true);
    EXPECT_EQ(bench.loadSkin(), -1);
    ASSERT_EQ(bench.messages().size(), 4);
    EXPECT_EQ(bench.messages()[0], QStringLiteral("Opening skin file"));
    EXPECT_TRUE(bench.messages()[1].startsWith(QStringLiteral("Entering file \"")));
    EXPECT_TRUE(bench.messages()[1].endsWith(QStringLiteral("skin.xml\"\n")));
    EXPECT_TRUE(bench.messages()[2].startsWith(QStringLiteral("Leaving file \"")));
    EXPECT_EQ(bench.messages()[3], QStringLiteral("ERROR: Loading the skin file"));
}

TEST_F(LoaderTest, ParseErrorNamesTheLine)
{
    EXPECT_EQ(loadSkin("<color id=\"a\" rgb=\"1\">\n<oops></color>"), -1);
    EXPECT_TRUE(hasMessage(QStringLiteral("Parse error at line 4:mismatched tag of the skin file.")));
}

TEST_F(LoaderTest, ColourValuesAreOpaqueHexOrNamesAndARepeatedIdChangesThatColour)
{
    ASSERT_EQ(loadSkin("<color id=\"orange\" rgb=\"FF8000\"/>\n"
                       "<color id=\"top\" rgb=\"80FF8000\"/>\n"
                       "<color id=\"prefixed\" rgb=\"0x00ff00\"/>\n"
                       "<color id=\"named\" rgb=\"orange\"/>\n"
                       "<color id=\"junk\" rgb=\"zz\"/>\n"
                       "<color id=\"empty\" rgb=\"\"/>\n"
                       "<color id=\"unset\"/>\n"
                       "<color id=\"orange\" rgb=\"333333\"/>\n"),
              0);
    EXPECT_EQ(bench().colourCount(), 7);
    EXPECT_EQ(colourOf("orange"), 0xFF333333u);
    EXPECT_EQ(colourOf("top"), 0xFFFF8000u);
    EXPECT_EQ(colourOf("prefixed"), 0xFF00FF00u);
    EXPECT_EQ(colourOf("named"), 0xFFFF8000u);
    for (const char *black : {"junk", "empty", "unset"})
        EXPECT_EQ(colourOf(black), 0xFF000000u) << black;
    EXPECT_EQ(colourOf("Orange"), 1u) << "names are case-sensitive";
}

TEST_F(LoaderTest, OffsetsAndExpressions)
{
    ASSERT_EQ(loadSkin("<offset id=\"left\" value=\"12\"/>\n"
                       "<offset id=\"a\" value=\"left+4\"/>\n"
                       "<offset id=\"b\" value=\"3\"/>\n"
                       "<offset id=\"c\" value=\"1\"/>\n"
                       "<offset id=\"abc\" value=\"a - b c\"/>\n"
                       "<offset id=\"neg\" value=\"-5\"/>\n"
                       "<offset id=\"missing\" value=\"x+10\"/>\n"
                       "<offset id=\"empty\" value=\"\"/>\n"
                       "<region id=\"r\" x=\"left\" y=\"a+b\" w=\"abc\"/>\n"),
              0);
    EXPECT_EQ(offsetOf("a"), 16);
    EXPECT_EQ(offsetOf("abc"), 12);
    EXPECT_EQ(offsetOf("neg"), -5);
    EXPECT_EQ(offsetOf("missing"), 10);
    EXPECT_EQ(offsetOf("empty"), 0);
    EXPECT_EQ(countMessages(QStringLiteral("Could not find a definition for offset \"x\" on line 9")), 1);
    QRect r;
    ASSERT_TRUE(bench().region("r", &r));
    EXPECT_EQ(r, QRect(12, 19, 12, 100));
    // A whole value that names an offset wins over reading it as an expression.
    EXPECT_EQ(bench().number("abc"), 12);
    EXPECT_EQ(bench().number("12"), 12);
    EXPECT_EQ(bench().number("99999999999999"), 1000000) << "bounded instead of overflowing";
    EXPECT_EQ(bench().number("-2000000 - 5"), -1000000);
}

TEST_F(LoaderTest, FlagsAndAlignment)
{
    using namespace orba::skin;
    EXPECT_FALSE(textFlag("0"));
    EXPECT_TRUE(textFlag("00"));
    EXPECT_TRUE(textFlag("no"));
    EXPECT_FALSE(numberFlag("00"));
    EXPECT_TRUE(numberFlag("2"));
    EXPECT_FALSE(numberFlag("x"));
    EXPECT_EQ(parseAlignment("br"), int(Qt::AlignBottom | Qt::AlignRight));
    EXPECT_EQ(parseAlignment("cc"), int(Qt::AlignCenter));
    EXPECT_EQ(parseAlignment("tl"), 33);
    EXPECT_EQ(parseAlignment(""), 33);
    EXPECT_EQ(parseAlignment("q"), 33);
}

TEST_F(LoaderTest, TableOverflowIsReportedAndDropped)
{
    QByteArray body;
    for (int i = 0; i < 257; ++i)
        body +=
            "<color id=\"c" + QByteArray::number(i) + "\" rgb=\"" + QByteArray::number(i + 1, 16) + "\"/>\n";
    for (int i = 0; i < 63; ++i)
        body += "<font id=\"f" + QByteArray::number(i) + "\" size=\"20\"/>\n";
    for (int i = 0; i < 1025; ++i)
        body += "<region id=\"r" + QByteArray::number(i) + "\" x=\"1\"/>\n";
    for (int i = 0; i < 10001; ++i)
        body += "<offset id=\"o" + QByteArray::number(i) + "\" value=\"" + QByteArray::number(i) + "\"/>\n";
    ASSERT_EQ(loadSkin(body), 0);
    for (const char *kind : {"COLOR", "FONT", "REGION", "OFFSET"})
        EXPECT_EQ(countMessages(QStringLiteral("ERROR: Maximimum number of %1 objects exceeded").arg(kind)),
                  1);
    EXPECT_EQ(bench().colourCount(), 256);
    EXPECT_EQ(bench().fontCount(), 64);
    EXPECT_EQ(bench().regionCount(), 1024);
    EXPECT_EQ(bench().offsetCount(), 10000);
    EXPECT_EQ(colourOf("c0"), 0xFF000001u);
    EXPECT_EQ(colourOf("c255"), 0xFF000100u);
    EXPECT_EQ(colourOf("c256"), 1u);
    EXPECT_EQ(bench().findFont("f62"), nullptr);
    ASSERT_NE(bench().findFont("f61"), nullptr);
    EXPECT_EQ(offsetOf("o9999"), 9999);
}

TEST_F(LoaderTest, DefinitionWithoutIdIsReportedAndIgnored)
{
    ASSERT_EQ(loadSkin("<color rgb=\"ffffff\"/>\n<screen id=\"\"><obj id=\"o\"/></screen>"), 0);
    EXPECT_TRUE(hasMessage(
        QStringLiteral("ERROR: Object \"color\" with no id attribute on line 3 of the skin file.")));
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: Object \"screen\" with no id attribute on line 4")));
    EXPECT_EQ(bench().colourCount(), 0);
    EXPECT_TRUE(bench().screens().empty());
}

TEST_F(LoaderTest, FontsHaveDefaultsAndTheirAttributes)
{
    ASSERT_EQ(
        loadSkin("<font id=\"big\" italic=\"1\" face=\"DejaVu Sans\" size=\"20\" bold=\"00\" angle=\"90\" "
                 "space=\"17\"/><font id=\"small\" size=\"2\" bold=\"1\"/>"),
        0);
    EXPECT_EQ(bench().fontCount(), 4);
    ASSERT_NE(bench().findFont("VORUD_HFONT"), nullptr);
    ASSERT_NE(bench().findFont("VORUD_MONOFONT"), nullptr);
    const SkinFont *big = bench().findFont("big");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->font.pixelSize(), 17);
    EXPECT_FALSE(big->font.bold());
    EXPECT_TRUE(big->font.italic());
    EXPECT_EQ(big->angle, 90);
    EXPECT_EQ(big->space, 17);
    EXPECT_EQ(big->face, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(bench().findFont("small")->font.pixelSize(), 5);
    EXPECT_TRUE(bench().findFont("small")->font.bold());
    EXPECT_EQ(bench().findFont(""), nullptr);
    ASSERT_NE(bench().headerFont(), nullptr);
}

TEST_F(LoaderTest, ScreensHoldPlacementsFoundById)
{
    ASSERT_EQ(loadSkin("<offset id=\"dx\" value=\"7\"/>"
                       "<screen id=\"main\" visible=\"00\" title=\"Main\" number=\"3\" x=\"1\" y=\"2\">"
                       "<obj id=\"p1\" objref=\"KNOB\" xoffset=\"dx\" yoffset=\"-4\" meta=\"m\"/>"
                       "<obj id=\"p2\" objref=\"B\"/></screen>"
                       "<screen id=\"main\" visible=\"1\"><obj id=\"p1\" xoffset=\"9\"/></screen>"),
              0);
    ASSERT_EQ(bench().screens().size(), 1u);
    const SkinScreen *s = bench().findScreen(NameString("main"));
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->visible);
    EXPECT_EQ(s->title, QStringLiteral("Main"));
    EXPECT_EQ(s->number, 3);
    ASSERT_EQ(s->placements.size(), 2u);
    EXPECT_EQ(s->placements[0]->objref, QStringLiteral("KNOB"));
    EXPECT_EQ(s->placements[0]->xoffset, 9);
    EXPECT_EQ(s->placements[0]->yoffset, -4);
}

TEST_F(LoaderTest, IncludedFilesContinueTheEnclosingElement)
{
    writeText(skinPath(QStringLiteral("parts/inc.xml")),
              "<obj id=\"inner\" objref=\"X\" xoffset=\"5\"/>\n<obj id=\"second\"/>");
    writeText(skinPath(QStringLiteral("defs.xml")), "<color id=\"late\" rgb=\"abcdef\"/>");
    const QByteArray xml =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE skin [\n"
        "<!ENTITY inc SYSTEM \"parts/inc.xml\">\n"
        "<!ENTITY defs SYSTEM \"defs.xml\">\n"
        "<!ENTITY gone SYSTEM \"missing.xml\">\n"
        "]>\n"
        "<skin><screen id=\"S\">&inc;</screen>&defs;&gone;<color id=\"after\" rgb=\"1\"/></skin>\n";
    ASSERT_EQ(loadSkin(xml, true), 0) << "a missing included file does not stop the outer file";
    const SkinScreen *s = bench().findScreen(NameString("S"));
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->placements.size(), 2u);
    EXPECT_EQ(s->placements[0]->xoffset, 5);
    EXPECT_EQ(colourOf("late"), 0xFFABCDEFu);
    EXPECT_NE(colourOf("after"), 1u);
    EXPECT_TRUE(hasMessage(QStringLiteral("missing.xml\"\n")));
}

TEST_F(LoaderTest, SelfIncludingFileEnds)
{
    writeText(skinPath(QStringLiteral("loop.xml")), "<color id=\"x\" rgb=\"1\"/>&loop;");
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [<!ENTITY loop SYSTEM \"loop.xml\">]>\n"
                           "<skin>&loop;</skin>\n";
    EXPECT_EQ(loadSkin(xml, true), 0);
    EXPECT_TRUE(hasMessage(QStringLiteral("nested too deeply")) || hasMessage(QStringLiteral("recursive")))
        << bench().messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(LoaderTest, PicturesFallBackToSharedImages)
{
    writeText(path(QStringLiteral("skin_images/shared.png")), "shared");
    writeText(path(QStringLiteral("skins/mine/own.png")), "own");
    writeText(path(QStringLiteral("skins/mine/skin_images/shared.png")), "not this one");
    tcPlainBench bench(path(QStringLiteral("skins/mine")));
    bench.setQuiet(true);
    EXPECT_EQ(bench.pictureData("own.png"), QByteArray("own"));
    EXPECT_EQ(bench.pictureData("shared.png"), QByteArray("shared"));
    EXPECT_TRUE(bench.pictureData("none.png").isEmpty());
}

TEST(NameStringTest, EqualityComparesLengthChecksumAndCharacters)
{
    const NameString a("AB"), b("BA"), c("AB");
    EXPECT_EQ(a.checksum(), b.checksum());
    EXPECT_NE(a, b);
    EXPECT_EQ(a, c);
    EXPECT_TRUE(a.equals("AB"));
    EXPECT_FALSE(a.equals("ab"));
    const NameString grown(QByteArray(100, 'x').constData());
    EXPECT_EQ(grown.length(), 100u);
    EXPECT_GE(grown.capacity(), 100u);
    EXPECT_EQ(NameString("\xff").checksum(), -1) << "characters count as signed bytes";
}

TEST(SkinReportTest, MessagesAreCutAtTheBuffer)
{
    auto format = [](const char *fmt, ...) {
        va_list args;
        va_start(args, fmt);
        const QString out = orba::skin::reportToDebug(fmt, args);
        va_end(args);
        return out;
    };
    EXPECT_EQ(format("line %d: %s", 7, "x"), QStringLiteral("line 7: x"));
    const QByteArray huge(5000, 'y');
    EXPECT_EQ(format("%s", huge.constData()).size(), orba::skin::kReportBufferSize - 1);
}
