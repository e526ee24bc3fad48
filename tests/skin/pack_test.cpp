// Packed skins: the packer's round trip, refused and cut-off entries, and the skin dialog.
#include "skin/skin_dlg.h"
#include "skin/skin_pack.h"
#include "skin/skin_test_util.h"
#include "support/message_recorder.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

QByteArray entry(const QByteArray &name, const QByteArray &data, qint64 declared = -1)
{
    const quint32 d = declared < 0 ? quint32(data.size()) : quint32(declared);
    return orba::skin::packEntryHeader(0, quint16(name.size()), d) + name + data;
}

class PackTest : public WorkDirTest
{
protected:
    // With a folder "out" to unpack into.
    void SetUp() override
    {
        WorkDirTest::SetUp();
        QDir().mkpath(path(QStringLiteral("out")));
    }
    // The packer beside the working folder, where the skin dialog looks for it.
    void installPacker()
    {
        const QString installed = path(QStringLiteral("SkinPacker"));
        ASSERT_TRUE(QFile::copy(QDir(binDir()).filePath(QStringLiteral("SkinPacker")), installed));
        QFile::setPermissions(installed, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    }
    ProgramRun runPacker(const QStringList &args)
    {
        return runProgram(QStringLiteral("SkinPacker"), args, 30000);
    }
    MessageRecorder messages;
};

} // namespace

TEST_F(PackTest, PackerAndUnpackRoundTripByteForByte)
{
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7);
    writeText(path(QStringLiteral("skins/mine/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skins/mine/parts/inc.xml")), "<color id=\"a\"/>");
    writeText(path(QStringLiteral("skins/mine/parts/deeper/data.bin")), binary);
    writeText(path(QStringLiteral("skins/mine/empty.txt")), "");
    writeText(path(QStringLiteral("images/knob.png")), "png bytes");
    writeText(path(QStringLiteral("images/skin.xml")), "shadowed by the skin's own");
    const ProgramRun run =
        runPacker({"-p", "-d", path("skins/mine"), "-i", path("images"), "-f", path("mine.skin")});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains("Packed 5 files.")) << run.out.constData();

    ASSERT_TRUE(tcSkinDlg::unpackSkin(path("mine.skin"), path("out")));
    EXPECT_TRUE(messages.empty());
    auto expected = fileTree(path("skins/mine"));
    expected[QStringLiteral("knob.png")] = "png bytes";
    EXPECT_EQ(fileTree(path("out")), expected);
}

TEST_F(PackTest, PackerFailsClearlyAndKeepsTheOldFile)
{
    writeText(path(QStringLiteral("old.skin")), "previous");
    const ProgramRun run = runPacker({"-p", "-d", path("nothing-here"), "-f", path("old.skin")});
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.out.contains("ERROR:"));
    EXPECT_NE(runPacker({"-d", path("."), "-f", path("old.skin")}).status, 0) << "-p is required";
    EXPECT_NE(runPacker({"-p", "-d"}).status, 0);
    EXPECT_EQ(readAll(path("old.skin")), QByteArray("previous"));
}

TEST_F(PackTest, DialogMarksTheSkinInUseAndOffersNoPackWithoutThePacker)
{
    writeText(path(QStringLiteral("skins/default/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skins/other/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skins/other.skin")), orba::skin::packHeader(0));
    writeText(path(QStringLiteral("skins/default.skin")), orba::skin::packHeader(0));
    auto bold = [](const QListWidgetItem *row) { return row && row->font().bold(); };
    tcSkinDlg dialog(nullptr, QDir(path("skins")));
    EXPECT_TRUE(dialog.findChild<QPushButton *>(QStringLiteral("packButton"))->isHidden())
        << "no packer in the working folder nor beside the program";
    dialog.setCurrentSkin(QStringLiteral("other"), false);
    EXPECT_EQ(dialog.listMode(), 0);
    ASSERT_NE(dialog.currentSkinRow(), nullptr);
    EXPECT_EQ(dialog.currentSkinRow()->text(), QStringLiteral("other"));
    EXPECT_EQ(dialog.listWidget()->currentItem(), dialog.currentSkinRow()) << "and selected";
    EXPECT_TRUE(bold(dialog.currentSkinRow()));
    EXPECT_FALSE(bold(dialog.listWidget()->item(0))) << "only the skin in use";
    // The packed file of the same name is another skin: unmarked.
    dialog.slot_file_click();
    EXPECT_EQ(dialog.currentSkinRow(), nullptr);
    for (int i = 0; i < dialog.listWidget()->count(); ++i)
        EXPECT_FALSE(bold(dialog.listWidget()->item(i)));

    // A packed skin in use is remembered by its name with or without ".skin"; the list turns to the
    // files to show it.
    dialog.slot_folder_click();
    dialog.setCurrentSkin(QStringLiteral("default"), true);
    EXPECT_EQ(dialog.listMode(), 1);
    ASSERT_NE(dialog.currentSkinRow(), nullptr);
    EXPECT_EQ(dialog.currentSkinRow()->text(), QStringLiteral("default.skin"));
    EXPECT_TRUE(bold(dialog.currentSkinRow()));
    dialog.accept();
    EXPECT_EQ(dialog.chosenName(), QStringLiteral("default.skin"));
}

TEST_F(PackTest, AFailedPackWritesTheResultsFileTheErrorNames)
{
    writeText(path(QStringLiteral("skins/mine/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skin_packer_results.txt")), "an old report");
    tcSkinDlg dialog(nullptr, QDir(path("skins")));
    dialog.listWidget()->setCurrentRow(0);
    messages.answer(orba::MsgOk);
    dialog.slot_pack_click();
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"skin_packer_results.txt\"")));
    QByteArray report = readAll(path("skin_packer_results.txt"));
    EXPECT_TRUE(report.contains("was found neither in")) << report.toStdString();
    EXPECT_FALSE(report.contains("an old report"));

#ifdef Q_OS_UNIX
    // A packer that fails: its own words and its exit code.
    writeText(path(QStringLiteral("SkinPacker")), "#!/bin/sh\necho \"ERROR: no room\" >&2\nexit 1\n");
    QFile::setPermissions(path(QStringLiteral("SkinPacker")), QFile::ReadOwner | QFile::ExeOwner);
    messages.answer(orba::MsgOk);
    dialog.slot_pack_click();
    EXPECT_EQ(messages.last().title, QStringLiteral("Error"));
    report = readAll(path("skin_packer_results.txt"));
    EXPECT_TRUE(report.contains("ERROR: no room")) << report.toStdString();
    EXPECT_TRUE(report.contains("exit code 1")) << report.toStdString();
    EXPECT_FALSE(QFile::exists(path("skins/mine.skin")));
#endif
}

#ifdef Q_OS_UNIX
TEST_F(PackTest, AFullDiskKeepsTheOldPackedFileAndLeavesNoTemporary)
{
    writeText(path(QStringLiteral("old.skin")), "previous");
    writeText(path(QStringLiteral("src/big.png")), QByteArray(64 * 1024, 'x'));
    QString error;
    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(orba::skin::writePackedSkin(
            path("old.skin"), orba::skin::collectPackSources(path("src"), QString(), QString()), &error));
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot write"))) << error.toStdString();
    EXPECT_EQ(readAll(path("old.skin")), QByteArray("previous"));
    EXPECT_EQ(QDir(path()).entryList({QStringLiteral("old.skin*")}, QDir::Files), QStringList{"old.skin"});
}
#endif

TEST_F(PackTest, AHeaderOnlyFileUnpacksToNothingAndBadMagicOrAMissingTargetIsRefused)
{
    writeText(path(QStringLiteral("empty.skin")), orba::skin::packHeader(0));
    EXPECT_TRUE(tcSkinDlg::unpackSkin(path("empty.skin"), path("out")));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(fileTree(path("out")).isEmpty());
    writeText(path(QStringLiteral("bad.skin")), QByteArray("NOPE") + QByteArray(12, '\0'));
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("bad.skin"), path("out")));
    ASSERT_EQ(messages.only(),
              Box("Pack Skin Error",
                  QStringLiteral("Failed attempting to unpack skin \"%1\"").arg(path("bad.skin"))));
    writeText(path(QStringLiteral("short.skin")), "SKIN");
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("short.skin"), path("out")));
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("bad.skin"), path("absent")));
    EXPECT_EQ(messages.last().text, QStringLiteral("Failed attempting to create temporary skin directory"));
}

TEST_F(PackTest, EntriesLeadingOutsideTheTargetAreRefused)
{
    QDir().mkpath(path(QStringLiteral("a/out")));
    const QStringList evil{QStringLiteral("../escaped.txt"), QStringLiteral("sub/../../escaped.txt"),
                           path(QStringLiteral("a/absolute.txt")), QStringLiteral("c:escaped.txt"),
                           QStringLiteral("sub\\..\\..\\escaped.txt")};
    for (const QString &name : evil) {
        messages.clear();
        const QByteArray file = orba::skin::packHeader(2) + entry("good.txt", "fine") +
                                entry(name.toUtf8(), "bad") + entry("after.txt", "never");
        writeText(path(QStringLiteral("evil.skin")), file);
        EXPECT_FALSE(tcSkinDlg::unpackSkin(path("evil.skin"), path("a/out"))) << name.toStdString();
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.last().title, QStringLiteral("Pack Skin Error"));
        EXPECT_TRUE(messages.last().text.contains(name)) << messages.last().text.toStdString();
        EXPECT_EQ(readAll(path("a/out/good.txt")), QByteArray("fine"));
        EXPECT_FALSE(QFile::exists(path("a/out/after.txt"))) << "unpacking stops at the refused entry";
    }
    EXPECT_FALSE(QFile::exists(path("a/escaped.txt")));
    EXPECT_FALSE(QFile::exists(path("escaped.txt")));
    EXPECT_FALSE(QFile::exists(path("a/absolute.txt")));
}

TEST_F(PackTest, CutOffEntryWritesNothingOfIt)
{
    const QByteArray file =
        orba::skin::packHeader(2) + entry("whole.txt", "complete") + entry("cut.txt", "only part", 1000);
    writeText(path(QStringLiteral("cut.skin")), file);
    tcSkinDlg::unpackSkin(path("cut.skin"), path("out"));
    EXPECT_EQ(readAll(path("out/whole.txt")), QByteArray("complete"));
    EXPECT_FALSE(QFile::exists(path("out/cut.txt")));
    const auto result = orba::skin::unpackSkinFile(path("cut.skin"), path("out"));
    EXPECT_EQ(result.status, orba::skin::UnpackStatus::Truncated);
    EXPECT_EQ(result.written, 1);
    // A header cut inside its 8 bytes as well.
    writeText(path(QStringLiteral("cut2.skin")), orba::skin::packHeader(1) + entry("a.txt", "x") + "abc");
    EXPECT_EQ(orba::skin::unpackSkinFile(path("cut2.skin"), path("out")).status,
              orba::skin::UnpackStatus::Truncated);
}

TEST_F(PackTest, RemoveFolderTakesEverythingAndTheFolderButLeavesALinkedFolderAlone)
{
    writeText(path(QStringLiteral("temp_skin_dir/a.txt")), "a");
    writeText(path(QStringLiteral("temp_skin_dir/sub/.hidden")), "b");
    writeText(path(QStringLiteral("keep/k.txt")), "k");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("keep")), path(QStringLiteral("temp_skin_dir/link"))));
    EXPECT_TRUE(tcSkinDlg::removeFolder(path("temp_skin_dir")));
    EXPECT_FALSE(QFileInfo::exists(path("temp_skin_dir")));
    EXPECT_TRUE(QFileInfo::exists(path("keep/k.txt"))) << "a link is removed, not followed";
    EXPECT_FALSE(tcSkinDlg::removeFolder(path("temp_skin_dir"))) << "nothing to remove";
    // A linked folder is left alone.
    writeText(path(QStringLiteral("outside/keep.txt")), "keep");
    QDir().mkpath(path(QStringLiteral("skins")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside")), path(QStringLiteral("skins/temp_skin_dir"))));
    EXPECT_FALSE(tcSkinDlg::removeFolder(path("skins/temp_skin_dir")));
    EXPECT_EQ(readAll(path("outside/keep.txt")), QByteArray("keep"));
}

TEST_F(PackTest, DialogListsChoosesAndPacks)
{
    writeText(path(QStringLiteral("skins/default/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skins/other/skin.xml")), "<skin/>");
    writeText(path(QStringLiteral("skins/old.skin")), orba::skin::packHeader(0));
    writeText(path(QStringLiteral("skin_images/pic.png")), "pic");
    installPacker();

    tcSkinDlg dialog(nullptr, QDir(path("skins")));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose Skin"));
    auto *pack = dialog.findChild<QPushButton *>(QStringLiteral("packButton"));
    EXPECT_FALSE(pack->isHidden());
    EXPECT_TRUE(pack->isEnabled());
    ASSERT_EQ(dialog.listWidget()->count(), 2);
    ASSERT_NE(dialog.listWidget()->currentItem(), nullptr);
    EXPECT_EQ(dialog.listWidget()->currentItem()->text(), QStringLiteral("default"));
    dialog.listWidget()->clearSelection();
    dialog.listWidget()->setCurrentRow(-1);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "accepting needs a row";
    dialog.listWidget()->setCurrentRow(0);

    messages.answer(orba::MsgCancel);
    dialog.slot_pack_click();
    EXPECT_FALSE(QFile::exists(path("skins/default.skin")));
    EXPECT_EQ(messages.last().title, QStringLiteral("Pack Skin"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Are you sure\nYou will overwrite your existing \"default.skin\" file."));

    messages.answer(orba::MsgOk);
    dialog.slot_pack_click();
    EXPECT_EQ(messages.messages().size(), 2u) << "no error box";
    ASSERT_TRUE(QFile::exists(path("skins/default.skin")));
    EXPECT_TRUE(readAll(path("skin_packer_results.txt")).contains("pic.png"));

    dialog.slot_file_click();
    EXPECT_FALSE(pack->isEnabled()) << "packing works on folders";
    ASSERT_EQ(dialog.listWidget()->count(), 2);
    dialog.listWidget()->setCurrentRow(1);
    EXPECT_EQ(dialog.listWidget()->currentItem()->text(), QStringLiteral("old.skin"));
    messages.answer(orba::MsgOk);
    dialog.listWidget()->setCurrentRow(0);
    dialog.slot_unpack_click();
    EXPECT_EQ(messages.last().title, QStringLiteral("UnPack Skin"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Are you sure\nYou will overwrite your existing \"default\" folder."));
    EXPECT_EQ(readAll(path("skins/default/pic.png")), QByteArray("pic"));

    dialog.listWidget()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenName(), QStringLiteral("old.skin"));
    EXPECT_EQ(dialog.chosenKind(), 1);
}

#ifdef Q_OS_UNIX
TEST_F(PackTest, UnpackingNeverWritesThroughALink)
{
    writeText(path(QStringLiteral("outside/victim.txt")), "victim");
    writeText(path(QStringLiteral("p.skin")), orba::skin::packHeader(1) + entry("victim.txt", "overwritten"));
    // The target folder is a link.
    QDir().mkpath(path(QStringLiteral("skins")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside")), path(QStringLiteral("skins/linked"))));
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("p.skin"), path("skins/linked")));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Pack Skin Error"));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("is a link")))
        << messages.last().text.toStdString();
    // An entry's file is a link.
    QDir().mkpath(path(QStringLiteral("skins/real")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside/victim.txt")),
                            path(QStringLiteral("skins/real/victim.txt"))));
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("p.skin"), path("skins/real")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"victim.txt\" is a link")))
        << messages.last().text.toStdString();
    EXPECT_EQ(readAll(path("outside/victim.txt")), QByteArray("victim"));
    EXPECT_EQ(fileTree(path("outside")).size(), 1);
}

#endif

TEST_F(PackTest, EntriesAreBoundedAtTheLimit)
{
    QByteArray pack = orba::skin::packHeader(0);
    for (int i = 0; i < orba::skin::kMaxPackEntries; ++i)
        pack += entry("f" + QByteArray::number(i), "x");
    const auto atLimit = orba::skin::parsePackedSkin(pack);
    EXPECT_EQ(atLimit.status, orba::skin::PackStatus::Ok);
    EXPECT_EQ(atLimit.entries.size(), size_t(orba::skin::kMaxPackEntries));

    writeText(path(QStringLiteral("many.skin")), pack + entry("one-more", "x"));
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("many.skin"), path("out")));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Refused to unpack skin \"%1\": it holds more than %2 files.")
                  .arg(path("many.skin"))
                  .arg(orba::skin::kMaxPackEntries));
    EXPECT_TRUE(fileTree(path("out")).isEmpty()) << "refused as a whole";
}

TEST_F(PackTest, BytesAreBoundedAtTheLimit)
{
    // One entry whose data fills the file up to the limit; the zeros come from growing the file.
    const QByteArray name = "big.bin";
    const qint64 data = orba::skin::kMaxPackBytes - orba::skin::kPackHeaderSize -
                        orba::skin::kPackEntryHeaderSize - name.size();
    writeText(path(QStringLiteral("big.skin")),
              orba::skin::packHeader(1) +
                  orba::skin::packEntryHeader(0, quint16(name.size()), quint32(data)) + name);
    ASSERT_TRUE(QFile::resize(path(QStringLiteral("big.skin")), orba::skin::kMaxPackBytes));
    {
        const auto atLimit = orba::skin::readPackedSkin(path("big.skin"));
        EXPECT_EQ(atLimit.status, orba::skin::PackStatus::Ok);
        ASSERT_EQ(atLimit.entries.size(), 1u);
        EXPECT_EQ(atLimit.entries[0].data.size(), data);
    }
    ASSERT_TRUE(QFile::resize(path(QStringLiteral("big.skin")), orba::skin::kMaxPackBytes + 1));
    EXPECT_EQ(orba::skin::readPackedSkin(path("big.skin")).status, orba::skin::PackStatus::TooLarge);
    EXPECT_FALSE(tcSkinDlg::unpackSkin(path("big.skin"), path("out")));
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral("Refused to unpack skin \"%1\": it is larger than 64 MB.").arg(path("big.skin")));
    EXPECT_TRUE(fileTree(path("out")).isEmpty());
}

// Pictures to decode ahead come in the order the skin uses them: a picture object where it
// stands, a shared picture where an object first names it, the unnamed ones last in pack order.
TEST(PackOrder, PicturesComeInTheOrderTheSkinUsesThem)
{
    using orba::skin::PackEntry;
    orba::skin::PackContents pack;
    auto add = [&pack](const char *name, const QByteArray &data) {
        pack.entries.push_back(PackEntry{QString::fromLatin1(name), data});
    };
    add("a.png", "A");
    add("b.png", "B");
    add("images.xml", R"(<image id="IA" file="a.png"/><image id="IB" file="b.png"/>
                         <image id="IC" file="c.png"/><image id="IU" file="u.png"/>)");
    add("c.png", "C");
    add("first.xml", R"(<image id="BACK" file="back.png"><position x="0" y="0"/></image>
                        <knob id="K"><bitmap image="IC"/></knob>&again;)");
    add("second.xml", R"(<button id="B1" image="IA"/><button id="B2" image="IC"/>)");
    add("back.png", "BACK");
    add("notes.txt", "not a picture");
    add("u.png", "U");
    add("skin.xml", R"(<?xml version="1.0"?>
<!DOCTYPE skin [
  <!ENTITY images SYSTEM "images.xml">
  <!ENTITY first SYSTEM "first.xml">
  <!ENTITY second SYSTEM "second.xml">
  <!ENTITY again SYSTEM "first.xml">
]>
<skin>&images;&first;&second;<screen image="IB"/></skin>)");
    auto names = [&pack](const std::vector<size_t> &order) {
        QStringList out;
        for (size_t i : order)
            out << pack.entries[i].name;
        return out;
    };
    EXPECT_EQ(names(orba::skin::picturesInReadingOrder(pack)),
              QStringList({"back.png", "c.png", "a.png", "b.png", "u.png"}))
        << "a file including itself ends at the depth bound";

    pack.entries.back().data = "<skin>&images;"; // cannot be read: the pack order, pictures only
    EXPECT_EQ(names(orba::skin::picturesInReadingOrder(pack)),
              QStringList({"a.png", "b.png", "c.png", "back.png", "u.png"}));

    // A file of many elements included very many times is read only so far; then the pack order.
    QByteArray many, refs;
    for (int i = 0; i < 2000; ++i)
        many += "<knob image=\"IX\"/>";
    for (int i = 0; i < 300; ++i)
        refs += "&many;";
    add("many.xml", many);
    pack.entries[pack.entries.size() - 2].data =
        R"(<!DOCTYPE skin [<!ENTITY many SYSTEM "many.xml"><!ENTITY images SYSTEM "images.xml">]>
           <skin>&many;)" + refs + R"(<button image="IB"/>&images;</skin>)";
    EXPECT_EQ(names(orba::skin::picturesInReadingOrder(pack)),
              QStringList({"a.png", "b.png", "c.png", "back.png", "u.png"}));
}
