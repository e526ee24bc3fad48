// Hostile and oversized skins, and a skin loaded from a pack held in memory.
#include "skin/skin_report.h"
#include "skin/skin_source.h"
#include "skin/skin_test_util.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class LimitsTest : public SkinTest
{
protected:
    // A skin whose document type declares `entities` (name -> file) and whose body is `body`.
    int loadWithEntities(const QList<QPair<QByteArray, QByteArray>> &entities, const QByteArray &body)
    {
        QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [\n";
        for (const auto &[name, file] : entities)
            xml += "<!ENTITY " + name + " SYSTEM \"" + file + "\">\n";
        xml += "]>\n<skin>" + body + "</skin>\n";
        return loadSkin(xml, true);
    }
};

} // namespace

TEST_F(LimitsTest, IncludedFilesAndPicturesOutsideTheSkinFolderAreNotRead)
{
    writeText(path(QStringLiteral("secret.xml")), "<color id=\"leak\" rgb=\"123456\"/>");
    writeText(skinPath(QStringLiteral("inside.xml")), "<color id=\"fine\" rgb=\"1\"/>");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("secret.xml")), skinPath(QStringLiteral("link.xml"))));
    ASSERT_EQ(loadWithEntities({{"abs", path(QStringLiteral("secret.xml")).toUtf8()},
                                {"up", "../secret.xml"},
                                {"climb", "sub/../../secret.xml"},
                                {"link", "link.xml"},
                                {"inside", "./inside.xml"}},
                               "&abs;&up;&climb;&link;&inside;"),
              0);
    EXPECT_EQ(colourOf("leak"), 1u);
    EXPECT_NE(colourOf("fine"), 1u);
    EXPECT_EQ(countMessages(QStringLiteral("lies outside the skin folder")), 4);

    // Pictures likewise.
    writeText(path(QStringLiteral("secret.png")), "secret");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("secret.png")), skinPath(QStringLiteral("link.png"))));
    EXPECT_TRUE(bench().pictureData(path(QStringLiteral("secret.png")).toUtf8().constData()).isEmpty());
    EXPECT_TRUE(bench().pictureData("../secret.png").isEmpty());
    EXPECT_TRUE(bench().pictureData("link.png").isEmpty());
    EXPECT_EQ(countMessages(QStringLiteral("lies outside the skin folder")), 4 + 3);
}

TEST_F(LimitsTest, IncludeReferencesLoadUpToTheLimit)
{
    const int limit = tcBenchMaster::kMaxIncludedFiles;
    writeText(skinPath(QStringLiteral("one.xml")), "<offset id=\"n\" value=\"n+1\"/>");
    const QByteArray one = "&one;";
    ASSERT_EQ(loadWithEntities({{"one", "one.xml"}}, "<offset id=\"n\" value=\"0\"/>" + one.repeated(limit)),
              0);
    EXPECT_EQ(offsetOf("n"), limit);

    EXPECT_EQ(loadWithEntities({{"one", "one.xml"}}, one.repeated(limit + 1)), -1);
    EXPECT_TRUE(hasMessage(QStringLiteral("ERROR: More than %1 included files").arg(limit)));
    EXPECT_TRUE(
        bench().loadFailure().startsWith(QStringLiteral("ERROR: More than %1 included files").arg(limit)));
}

TEST_F(LimitsTest, IncludeBombEndsEarlyWithItsReason)
{
    // Ten references per level, six levels: a million files if followed.
    QList<QPair<QByteArray, QByteArray>> entities;
    for (int level = 1; level <= 6; ++level) {
        const QByteArray file = "l" + QByteArray::number(level) + ".xml";
        entities.append({file.chopped(4), file});
        const QByteArray next = ("&l" + QByteArray::number(level + 1) + ";").repeated(10);
        writeText(skinPath(QString::fromLatin1(file)),
                  level < 6 ? next : QByteArray("<color id=\"c\" rgb=\"1\"/>"));
    }
    EXPECT_EQ(loadWithEntities(entities, "&l1;"), -1);
    EXPECT_TRUE(bench().loadFailure().contains(QStringLiteral("included files")));
    EXPECT_LE(bench().messages().size(), orba::skin::kMaxReportLines);
}

TEST_F(LimitsTest, TheBytesOfAllIncludedFilesAreBounded)
{
    const qint64 limit = tcBenchMaster::kMaxSkinTextBytes;
    const QByteArray mega = "<!--" + QByteArray(1024 * 1024 - 7, 'x') + "-->";
    writeText(skinPath(QStringLiteral("mega.xml")), mega);
    // A large skin file of its own, so that the parser's guard against entity amplification (a
    // hundred times the document) stays out of the way; the skin file's bytes count too.
    const int fits = int(limit / mega.size()) - 2;
    const QByteArray m = "&m;";
    EXPECT_EQ(loadWithEntities({{"m", "mega.xml"}}, mega + m.repeated(fits)), 0);
    EXPECT_EQ(loadWithEntities({{"m", "mega.xml"}}, mega + m.repeated(fits + 2)), -1);
    EXPECT_TRUE(bench().loadFailure().contains(QStringLiteral("more than 32 MB")))
        << bench().loadFailure().toStdString();
}

TEST_F(LimitsTest, AnEightMegabyteAttributeLoads)
{
    ASSERT_EQ(loadSkin("<color id=\"c\" rgb=\"" + QByteArray(8 * 1024 * 1024, '0') + "ff\"/>"), 0);
    EXPECT_EQ(colourOf("c"), 0xFF0000FFu);
}

TEST_F(LimitsTest, TheReportKeepsABoundedNumberOfLines)
{
    const QByteArray missing = "<offset id=\"o\" value=\"missing\"/>\n";
    ASSERT_EQ(loadSkin(missing.repeated(3 * orba::skin::kMaxReportLines)), 0);
    ASSERT_EQ(bench().messages().size(), orba::skin::kMaxReportLines);
    EXPECT_TRUE(bench().messages().last().contains(QStringLiteral("dropped")));
}

TEST_F(LimitsTest, APackLoadsFromMemoryWithItsIncludedFiles)
{
    std::vector<orba::skin::PackEntry> entries{
        {QStringLiteral("skin.xml"),
         "<?xml version=\"1.0\"?>\n<!DOCTYPE skin [<!ENTITY p SYSTEM \"parts/p.xml\">]>\n"
         "<skin>&p;</skin>"},
        {QStringLiteral("parts/p.xml"), "<color id=\"packed\" rgb=\"abcdef\"/>"},
        {QStringLiteral("pic.png"), "picture bytes"}};
    tcPlainBench packed(
        std::make_shared<orba::skin::PackSkinSource>(QStringLiteral("/nowhere/x.skin"), std::move(entries)));
    packed.setQuiet(true);
    ASSERT_EQ(packed.loadSkin(), 0);
    QRgb c = 0;
    EXPECT_TRUE(packed.colour("packed", &c));
    EXPECT_EQ(c, 0xFFABCDEFu);
    EXPECT_EQ(packed.pictureData("pic.png"), QByteArray("picture bytes"));
    EXPECT_TRUE(packed.pictureData("../pic.png").isEmpty());
    EXPECT_EQ(packed.skinFile(), QStringLiteral("/nowhere/x.skin/skin.xml"));
}
