#include "common/ini_store.h"
#include "message_recorder.h"
#include "preset_helpers.h"
#include "presets/name_rules.h"
#include "presets/package_store.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"
#include "presets/preset_package.h"
#include "presets/quick_save.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace orba;
using namespace orba::test;

namespace {

class PresetStoreTest : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(path("favorites")));
    }
    void savePreset(const QString &file, const std::string &name, bool changed = false)
    {
        SETTINGS_MAP set;
        if (changed)
            changeEveryParameter(set);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ASSERT_TRUE(writePreset(namedHeader(name), set, file));
    }
    QStringList listedNames(const QString &folder)
    {
        QStringList names;
        for (const ListedPreset &p : listFolder(folder, false))
            names << p.name;
        return names;
    }
};

QByteArray package(std::initializer_list<std::pair<QByteArray, QByteArray>> records)
{
    QByteArray out = packageHeader();
    for (const auto &[p, data] : records)
        out += packageRecord(p, data);
    return out;
}

} // namespace

// ---- index ----------------------------------------------------------------------------------------

TEST_F(PresetStoreTest, UnindexedFilesAreListedAfterTheIndexedOnesAndAddedToTheIndex)
{
    const QString folder = path("favorites");
    savePreset(folder + "/b.orba", "b");
    savePreset(folder + "/a.orba", "a");
    ASSERT_TRUE(writeIndex(folder, {"b.orba"}));

    const QVector<ListedPreset> listed = listFolder(folder, true);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].name, "b");
    EXPECT_EQ(listed[1].name, "a");
    EXPECT_EQ(listed[1].path, QFileInfo(folder + "/a.orba").absoluteFilePath());
    EXPECT_TRUE(listed[0].isProtected);
    EXPECT_EQ(readIndex(folder), (QStringList{"b.orba", "a.orba"}));
}

TEST_F(PresetStoreTest, IndexEntriesWithoutAFileAreNotListedButKept)
{
    const QString folder = path("favorites");
    savePreset(folder + "/c.orba", "c");
    ASSERT_TRUE(writeIndex(folder, {"gone.orba", "c.orba", "notes.txt"}));
    ASSERT_TRUE(writeAll(folder + "/notes.txt", "x"));
    EXPECT_EQ(listedNames(folder), QStringList{"c"});
    EXPECT_EQ(readIndex(folder), (QStringList{"gone.orba", "c.orba", "notes.txt"}));
}

TEST_F(PresetStoreTest, IndexOperationsRewriteTheFile)
{
    const QString folder = path("favorites");
    EXPECT_EQ(readIndex(folder), QStringList()); // missing: empty
    ASSERT_TRUE(addToIndex(folder, "one.orba"));
    ASSERT_TRUE(addToIndex(folder, "two.orba"));
    ASSERT_TRUE(addToIndex(folder, "one.orba")); // already there
    ASSERT_TRUE(addToIndex(folder, "three.orba"));
    EXPECT_EQ(readIndex(folder), (QStringList{"one.orba", "two.orba", "three.orba"}));

    moveUp(folder, "one.orba");     // already first
    moveDown(folder, "three.orba"); // already last
    moveUp(folder, "three.orba");
    EXPECT_EQ(readIndex(folder), (QStringList{"one.orba", "three.orba", "two.orba"}));
    moveDown(folder, "one.orba");
    EXPECT_EQ(readIndex(folder), (QStringList{"three.orba", "one.orba", "two.orba"}));

    renameInIndex(folder, "one.orba", "uno.orba");
    renameInIndex(folder, "missing.orba", "x.orba");
    EXPECT_EQ(readIndex(folder), (QStringList{"three.orba", "uno.orba", "two.orba"}));

    writeIndex(folder, {"a.orba", "b.orba", "a.orba"});
    removeFromIndex(folder, "a.orba"); // every equal line
    EXPECT_EQ(readIndex(folder), QStringList{"b.orba"});
}

#ifdef Q_OS_UNIX
TEST_F(PresetStoreTest, IndexThatCannotBeReadIsNeverRewritten)
{
    // A socket in its place exists but cannot be opened, even by root.
    const QString folder = path("favorites");
    savePreset(folder + "/a.orba", "a");
    const QByteArray index = QFile::encodeName(folder + "/" + PRESET_INDEX_FILE);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(index.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, index.constData(), size_t(index.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    const auto indexUntouched = [&] {
        struct stat st;
        return ::lstat(index.constData(), &st) == 0 && S_ISSOCK(st.st_mode);
    };

    EXPECT_FALSE(readIndex(folder).has_value());
    EXPECT_FALSE(addToIndex(folder, "b.orba"));
    EXPECT_FALSE(removeFromIndex(folder, "a.orba"));
    EXPECT_TRUE(indexUntouched());
    EXPECT_EQ(listedNames(folder), QStringList{"a"}); // still listed, in folder order
    EXPECT_TRUE(indexUntouched());
}
#endif

TEST_F(PresetStoreTest, IndexSkipsEmptyLinesAndReadsWindowsLineEnds)
{
    EXPECT_EQ(parseIndex("a.orba\r\n\r\nb.orba\n\nc.orba"), (QStringList{"a.orba", "b.orba", "c.orba"}));
#ifndef Q_OS_WIN
    EXPECT_EQ(renderIndex({"a.orba", "b.orba"}), QByteArray("a.orba\nb.orba\n"));
#endif
}

// ---- names ----------------------------------------------------------------------------------------

TEST(NameRules, RenameAcceptsLettersDigitsInnerSpacesHashAndUnderscore)
{
    EXPECT_TRUE(checkRenameName("Rock 2 #Hot_mix").accepted());
    EXPECT_EQ(checkRenameName("").result, NameCheck::Empty);

    NameCheck c = checkRenameName(" lead");
    EXPECT_EQ(c.result, NameCheck::Refused);
    EXPECT_EQ(c.title, "Rename");
    EXPECT_EQ(c.text, "A name cannot start or end with a space.");
    EXPECT_EQ(checkRenameName("trail ").text, "A name cannot start or end with a space.");

    c = checkRenameName("Wow!");
    EXPECT_EQ(c.result, NameCheck::Refused);
    EXPECT_EQ(c.text, "There are invalid characters in the name.\nUse characters A-Z a-z _ # space");
    EXPECT_FALSE(checkRenameName(QString::fromUtf8("Caf\xc3\xa9")).accepted()); // ASCII letters only

    EXPECT_TRUE(checkRenameName(QString(40, 'a')).accepted());
    EXPECT_FALSE(checkRenameName(QString(41, 'a')).accepted());
    EXPECT_TRUE(checkRenameName(QString(100, 'a'), FOLDER_NAME_MAX).accepted());
}

TEST(NameRules, NewFolderHasItsOwnTitleAndSpaceMessage)
{
    EXPECT_TRUE(checkFolderName("Talk Shows").accepted());
    EXPECT_EQ(checkFolderName("").result, NameCheck::Empty);
    NameCheck c = checkFolderName("Talk ");
    EXPECT_EQ(c.title, "New Folder");
    EXPECT_EQ(c.text, "A folder name cannot start or end with a space.");
    c = checkFolderName("Talk/Shows");
    EXPECT_EQ(c.title, "New Folder");
    EXPECT_EQ(c.text, "There are invalid characters in the name.\nUse characters A-Z a-z _ # space");
}

TEST(NameRules, SaveAcceptsExclamationAndRefusesSlashOrLeadingSpace)
{
    EXPECT_TRUE(checkSaveName("Wow! (loud) trailing ").accepted());
    EXPECT_EQ(checkSaveName("").result, NameCheck::Empty);
    NameCheck c = checkSaveName(" Wow");
    EXPECT_EQ(c.title, "Save preset");
    EXPECT_EQ(c.text, "A preset name cannot start with a space.");
    for (const char *bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        c = checkSaveName(bad);
        EXPECT_EQ(c.result, NameCheck::Refused) << bad;
        EXPECT_EQ(c.text, "There are invalid characters in the name.") << bad;
    }
}

// ---- packages -------------------------------------------------------------------------------------

TEST_F(PresetStoreTest, PackageOfAFolderTreeInstallsElsewhereByteForByte)
{
    const QString src = path("src");
    savePreset(src + "/top.orba", "top", true);
    savePreset(src + "/rock/heavy.orba", "heavy");
    savePreset(src + "/rock/soft/ballad.orba", "ballad", true);
    savePreset(src + "/talk/news.orba", "news");
    ASSERT_TRUE(writeIndex(src, {"top.orba"}));
    ASSERT_TRUE(writeIndex(src + "/rock", {"heavy.orba"}));
    ASSERT_TRUE(writeAll(src + "/rock/readme.txt", "not packed"));
    ASSERT_TRUE(QDir().mkpath(src + "/empty"));

    ASSERT_EQ(buildPackage(src, path("rock.pkg")), 0);
    MessageRecorder messages;
    const PackageResult r = installPackage(path("rock.pkg"), path("elsewhere/rock"));
    ASSERT_TRUE(r.ok()) << packageResultText(r).toStdString();
    EXPECT_EQ(r.files, 6);
    EXPECT_TRUE(messages.empty());

    QMap<QString, QByteArray> expected = fileTree(src);
    expected.remove("rock/readme.txt");
    EXPECT_EQ(fileTree(path("elsewhere/rock")), expected);
    EXPECT_EQ(expected.size(), 6);
}

TEST_F(PresetStoreTest, PackageRecordsAreDepthFirstFilesBeforeFolders)
{
    const QString src = path("src");
    savePreset(src + "/z/inner.orba", "inner");
    savePreset(src + "/b.orba", "b");
    savePreset(src + "/a.orba", "a");
    ASSERT_EQ(buildPackage(src, path("p.pkg")), 0);
    const QByteArray pkg = readAll(path("p.pkg"));
    ASSERT_TRUE(pkg.startsWith(QByteArray("\xBB\xBB\xAA\xAA", 4) + QByteArray(12, '\0')));
    QStringList order;
    qsizetype pos = PACKAGE_HEADER_BYTES;
    PackageRecord record;
    while (nextPackageRecord(pkg, pos, record) == PackageStep::Record) {
        order << QString::fromUtf8(record.path.toByteArray());
        EXPECT_EQ(invertedBytes(record.data), readAll(src + "/" + order.last()));
    }
    EXPECT_EQ(pos, pkg.size());
    EXPECT_EQ(order, (QStringList{"a.orba", "b.orba", "z/inner.orba"}));
}

TEST_F(PresetStoreTest, PackageShorterThan16BytesIsRefusedLikeAWrongMagic)
{
    ASSERT_TRUE(writeAll(path("short.pkg"), QByteArray("\xBB\xBB\xAA\xAA", 4)));
    ASSERT_TRUE(writeAll(path("foreign.pkg"), QByteArray(64, 'Z')));
    for (const char *file : {"short.pkg", "foreign.pkg"}) {
        MessageRecorder messages;
        const PackageResult r = installPackage(path(file), path("target"));
        EXPECT_EQ(r.status, PackageResult::NotAPackage) << file;
        EXPECT_EQ(packageResultText(r), "This is not an ORBA preset package.");
        EXPECT_TRUE(messages.messages().empty()) << file; // the caller tells the user
    }
    EXPECT_FALSE(QFileInfo::exists(path("target"))); // nothing created for a foreign file

    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    MessageRecorder messages;
    EXPECT_EQ(installPackageFile(settings, path("favorites"), path("foreign.pkg")).status,
              PackageResult::NotAPackage);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(QDir(path("favorites")).isEmpty());
}

TEST_F(PresetStoreTest, RecordRunningPastTheEndIsDamagedAndEarlierFilesStay)
{
    QByteArray pkg = package({{"good.orba", "GOOD"}, {"cut.orba", QByteArray(100, 'c')}});
    pkg.chop(10);
    ASSERT_TRUE(writeAll(path("cut.pkg"), pkg));
    MessageRecorder messages;
    const PackageResult r = installPackage(path("cut.pkg"), path("target"));
    EXPECT_EQ(r.status, PackageResult::DamagedRecord);
    EXPECT_EQ(r.files, 1);
    EXPECT_EQ(readAll(path("target/good.orba")), "GOOD");
    EXPECT_FALSE(QFileInfo::exists(path("target/cut.orba")));
    EXPECT_TRUE(messages.empty());

    // Short record header, foreign record magic, empty or overlong path.
    QByteArray bad = packageHeader() + QByteArray("\xCD\xAB\x01", 3);
    qsizetype pos = PACKAGE_HEADER_BYTES;
    PackageRecord record;
    EXPECT_EQ(nextPackageRecord(bad, pos, record), PackageStep::Damaged);
    bad = packageHeader() + packageRecord("x", "y");
    bad[PACKAGE_HEADER_BYTES] = 'Q';
    EXPECT_EQ(nextPackageRecord(bad, pos, record), PackageStep::Damaged);
    bad = packageHeader() + packageRecord("", "y");
    EXPECT_EQ(nextPackageRecord(bad, pos, record), PackageStep::Damaged);
    bad = packageHeader() + packageRecord(QByteArray(1024, 'p'), "y");
    EXPECT_EQ(nextPackageRecord(bad, pos, record), PackageStep::Damaged);
    bad = packageHeader() + packageRecord(QByteArray(1023, 'p'), "y");
    EXPECT_EQ(nextPackageRecord(bad, pos, record), PackageStep::Record);
}

TEST_F(PresetStoreTest, RecordPathsThatLeaveTheTargetAreRefusedAndNothingIsWrittenOutside)
{
    ASSERT_TRUE(QDir().mkpath(path("outside")));
    ASSERT_TRUE(QDir().mkpath(path("target")));
    ASSERT_TRUE(QFile::link(path("outside"), path("target/link")));
    const QString absolute = path("outside/abs.orba");
    const QList<QByteArray> escapes{
        "../escape.orba", "sub/../../escape.orba",    absolute.toUtf8(), "link/through.orba",
        "link",           "sub\\..\\..\\escape.orba", "C:escape.orba",   "./x.orba",
        "sub//x.orba",    QByteArray("nul\0.orba", 9)};
    for (const QByteArray &escape : escapes) {
        ASSERT_TRUE(writeAll(path("evil.pkg"), package({{"fine.orba", "ok"}, {escape, "BAD"}})));
        const PackageResult r = installPackage(path("evil.pkg"), path("target"));
        EXPECT_FALSE(r.ok()) << escape.constData();
        EXPECT_EQ(r.files, 1) << escape.constData();
    }
    EXPECT_TRUE(fileTree(path("outside")).empty());
    EXPECT_FALSE(QFileInfo::exists(path("escape.orba")));
    EXPECT_FALSE(QFileInfo::exists(path("through.orba")));
    auto inside = fileTree(path("target"));
    EXPECT_EQ(inside.size(), 1);
    EXPECT_EQ(inside["fine.orba"], "ok");

    EXPECT_TRUE(isSafePackagePath("a/b c/d#1.orba"));
    EXPECT_FALSE(isSafePackagePath("/abs.orba"));
    EXPECT_FALSE(isSafePackagePath("a/"));
}

TEST_F(PresetStoreTest, InstallingTheSamePackageTwiceAddsTheSuffixForTwo)
{
    savePreset(path("src/p1.orba"), "p1");
    ASSERT_EQ(buildPackage(path("src"), path("Rock Hits.pkg")), 0);
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    const QString favorites = path("favorites");

    ASSERT_TRUE(installPackageFile(settings, favorites, path("Rock Hits.pkg")).ok());
    ASSERT_TRUE(installPackageFile(settings, favorites, path("Rock Hits.pkg")).ok());
    EXPECT_TRUE(QFileInfo::exists(favorites + "/Rock Hits/p1.orba"));
    EXPECT_TRUE(QFileInfo::exists(favorites + "/Rock Hits (2)/p1.orba"));
    EXPECT_EQ(packageNames(settings), (QStringList{"Rock Hits", "Rock Hits (2)"}));
    // Written at once.
    IniStore reread(path("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(reread.readString("PRESETS", "packages", ""), "Rock Hits;Rock Hits (2)");

    EXPECT_TRUE(isPackageFolder(settings, favorites, favorites + "/Rock Hits (2)"));
    ASSERT_TRUE(QDir().mkpath(favorites + "/Rock Hits/deep/er"));
    EXPECT_FALSE(isPackageFolder(settings, favorites, favorites + "/Rock Hits/deep"));
    EXPECT_TRUE(isProtectedFolder(settings, favorites, favorites + "/Rock Hits/deep/er"));
    EXPECT_FALSE(isProtectedFolder(settings, favorites, favorites));
    EXPECT_FALSE(isProtectedFolder(settings, favorites, path("Rock Hits")));
}

TEST_F(PresetStoreTest, PackageNameChoiceStopsAfterTheSuffixForNine)
{
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    const QString favorites = path("favorites");
    addPackageName(settings, "Mix");
    EXPECT_EQ(choosePackageFolderName(settings, favorites, "/x/Mix.pkg"), "Mix (2)");
    for (int n = 2; n <= 8; ++n)
        ASSERT_TRUE(QDir().mkpath(favorites + QString::asprintf("/Mix (%d)", n)));
    EXPECT_EQ(choosePackageFolderName(settings, favorites, "/x/Mix.pkg"), "Mix (9)");
    ASSERT_TRUE(writeAll(favorites + "/Mix (9)", "a file takes the name too"));
    EXPECT_EQ(choosePackageFolderName(settings, favorites, "/x/Mix.pkg"), "");
    EXPECT_EQ(installPackageFile(settings, favorites, "/x/Mix.pkg").status, PackageResult::NoFreeName);
    // A ";" would split the name in the list.
    EXPECT_EQ(choosePackageFolderName(settings, favorites, "/x/A;B.pkg"), "A_B");
    EXPECT_EQ(choosePackageFolderName(settings, favorites, "/x/v1.2 set.pkg"), "v1.2 set");
}

TEST_F(PresetStoreTest, PackagesListAddsAndRemovesNames)
{
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    addPackageName(settings, "One");
    EXPECT_EQ(settings.readString("PRESETS", "packages", ""), "One");
    addPackageName(settings, "Two");
    addPackageName(settings, "Three");
    EXPECT_EQ(settings.readString("PRESETS", "packages", ""), "One;Two;Three");
    removePackageName(settings, "Two");
    EXPECT_EQ(settings.readString("PRESETS", "packages", ""), "One;Three");
    settings.writeString("PRESETS", "packages", ";One;;Three;");
    EXPECT_EQ(packageNames(settings), (QStringList{"One", "Three"}));
    EXPECT_TRUE(isPackageName(settings, "Three"));
    EXPECT_FALSE(isPackageName(settings, ""));
}

TEST_F(PresetStoreTest, ADamagedPackageInstallsNothing)
{
    ASSERT_TRUE(writeAll(path("Broken.pkg"), package({{"a.orba", "A"}, {"b.orba", "B"}}).chopped(1)));
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    MessageRecorder messages;
    const PackageResult r = installPackageFile(settings, path("favorites"), path("Broken.pkg"));
    EXPECT_EQ(r.status, PackageResult::DamagedRecord);
    EXPECT_EQ(r.files, 1);
    EXPECT_TRUE(packageNames(settings).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("favorites/Broken")));
    EXPECT_TRUE(QDir(path("favorites")).isEmpty());
    // No half-installed folder is left anywhere beside the favourites either.
    EXPECT_EQ(QDir(path()).entryList({".package-*"}, QDir::AllEntries | QDir::Hidden), QStringList());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(PresetStoreTest, AutoloadInstallsGoodPackagesAndMovesDamagedOnesAside)
{
    savePreset(path("src/p.orba"), "p");
    ASSERT_TRUE(QDir().mkpath(path("presets/autoload/failed")));
    ASSERT_EQ(buildPackage(path("src"), path("presets/autoload/Good.pkg")), 0);
    ASSERT_TRUE(writeAll(path("presets/autoload/Bad.pkg"), "nonsense"));
    const QByteArray cut = package({{"a.orba", "A"}, {"b.orba", "B"}}).chopped(1);
    ASSERT_TRUE(writeAll(path("presets/autoload/Cut.pkg"), cut));
    ASSERT_TRUE(writeAll(path("presets/autoload/failed/Cut.pkg"), "an earlier failure"));
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    MessageRecorder messages;
    autoloadPackages(settings, path("presets"), path("favorites"));
    EXPECT_TRUE(QFileInfo::exists(path("favorites/Good/p.orba")));
    EXPECT_EQ(packageNames(settings), QStringList{"Good"});
    EXPECT_FALSE(QFileInfo::exists(path("favorites/Cut"))); // not even its first record
    EXPECT_EQ(QDir(path("presets/autoload")).entryList(QDir::Files), QStringList());
    EXPECT_EQ(readAll(path("presets/autoload/failed/Bad.pkg")), "nonsense");
    EXPECT_EQ(readAll(path("presets/autoload/failed/Cut.pkg")), "an earlier failure");
    EXPECT_EQ(readAll(path("presets/autoload/failed/Cut.1.pkg")), cut);
    ASSERT_EQ(messages.messages().size(), 2u); // one for each failed package
    for (const auto &m : messages.messages())
        EXPECT_EQ(m.title, "Error");
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Unable to install preset package \"Bad.pkg\": This is not an ORBA preset "
                             "package.\nIt was moved to \"%1\".")
                  .arg(QDir::toNativeSeparators(path("presets/autoload/failed/Bad.pkg"))));
    EXPECT_TRUE(messages.messages()[1].text.startsWith(
        "Unable to install preset package \"Cut.pkg\": damaged package record after 1 files."));
    EXPECT_TRUE(messages.messages()[1].text.contains("failed/Cut.1.pkg"));

    messages.clear();
    autoloadPackages(settings, path("presets"), path("favorites")); // the next start: no box
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(PresetStoreTest, AutoloadMovesAGoodPackageThatFailedOnOurSideAsideOnce)
{
    savePreset(path("src/p.orba"), "p");
    ASSERT_TRUE(QDir().mkpath(path("presets/autoload")));
    ASSERT_EQ(buildPackage(path("src"), path("presets/autoload/Mix.pkg")), 0);
    const QByteArray package = readAll(path("presets/autoload/Mix.pkg"));
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    MessageRecorder messages;
    // Fails once, then is out of the way: the next start shows no box for it.
    const auto failsOnce = [&](const QString &favorites) {
        messages.clear();
        autoloadPackages(settings, path("presets"), favorites);
        autoloadPackages(settings, path("presets"), favorites);
        const bool once = messages.messages().size() == 1 &&
                          messages.last().text.contains(QStringLiteral("put it back into"));
        const bool moved = !QFileInfo::exists(path("presets/autoload/Mix.pkg")) &&
                           readAll(path("presets/autoload/failed/Mix.pkg")) == package;
        return once && moved && packageNames(settings).isEmpty();
    };
    const auto putBack = [&] {
        ASSERT_TRUE(QFile::rename(path("presets/autoload/failed/Mix.pkg"), path("presets/autoload/Mix.pkg")));
    };

    // The favourites folder cannot be made: a file stands in its place.
    ASSERT_TRUE(writeAll(path("blocked"), "a file"));
    EXPECT_TRUE(failsOnce(path("blocked/favorites")));
    putBack();

    // Every folder name is taken.
    ASSERT_TRUE(QDir().mkpath(path("favorites/Mix")));
    for (int n = 2; n <= 9; ++n)
        ASSERT_TRUE(QDir().mkpath(path("favorites") + QString::asprintf("/Mix (%d)", n)));
    EXPECT_TRUE(failsOnce(path("favorites")));
    putBack();

#ifdef Q_OS_UNIX
    // A full disk.
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.active());
        EXPECT_TRUE(failsOnce(path("full")));
    }
    EXPECT_FALSE(QFileInfo::exists(path("full/Mix")));
    putBack();
#endif

    // Put back, it installs.
    messages.clear();
    autoloadPackages(settings, path("presets"), path("later"));
    EXPECT_TRUE(QFileInfo::exists(path("later/Mix/p.orba")));
    EXPECT_EQ(packageNames(settings), QStringList{"Mix"});
    EXPECT_FALSE(QFileInfo::exists(path("presets/autoload/Mix.pkg")));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(PresetStoreTest, BuildIntoAnUnwritablePlaceFails)
{
    savePreset(path("src/p.orba"), "p");
    EXPECT_EQ(buildPackage(path("src"), path("no/such/folder/p.pkg")), -1);
}

#ifdef Q_OS_UNIX
TEST_F(PresetStoreTest, BuildThatRunsOutOfRoomKeepsTheOldPackage)
{
    savePreset(path("src/p.orba"), "p");
    ASSERT_TRUE(writeAll(path("p.pkg"), "old package"));
    FileSizeLimit limit(200);
    ASSERT_TRUE(limit.active());
    EXPECT_EQ(buildPackage(path("src"), path("p.pkg")), -1);
    EXPECT_EQ(readAll(path("p.pkg")), "old package");
    EXPECT_EQ(QDir(path()).entryList(QDir::Files), QStringList{"p.pkg"});
}
#endif

// ---- quick save -----------------------------------------------------------------------------------

TEST_F(PresetStoreTest, QuickSaveSwitchRestoresTheSettingsThatWereLive)
{
    SETTINGS_MAP live;
    changeEveryParameter(live); // X
    SETTINGS_MAP x;
    x.assignFrom(live);
    QuickSave qs(path("presets"));
    ASSERT_TRUE(QDir().mkpath(path("presets")));
    EXPECT_EQ(qs.current(), QuickSave::A);

    qs.select(QuickSave::B, live); // X goes to A, and to B, which held nothing
    EXPECT_EQ(qs.current(), QuickSave::B);
    EXPECT_EQ(differingParameters(live, x), 0);
    changeEveryParameter(live, true); // Y
    SETTINGS_MAP y;
    y.assignFrom(live);
    ASSERT_GT(differingParameters(x, y), 100);

    qs.select(QuickSave::A, live); // Y goes to B, X comes back
    EXPECT_EQ(differingParameters(live, x), 0);
    qs.select(QuickSave::A, live); // already current: nothing
    EXPECT_EQ(differingParameters(live, x), 0);
    qs.select(QuickSave::B, live);
    EXPECT_EQ(differingParameters(live, y), 0);

    // Both memories are on disk, as presets named "QSAVE"; a new start loads them.
    QuickSave again(path("presets"));
    EXPECT_EQ(differingParameters(again.memory(QuickSave::A), x), 0);
    EXPECT_EQ(differingParameters(again.memory(QuickSave::B), y), 0);
    PresetHeader h;
    ASSERT_EQ(readPresetHeader(h, path("presets/qsave_b.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), "QSAVE");
}

#ifdef Q_OS_UNIX
TEST_F(PresetStoreTest, QuickSaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile)
{
    ASSERT_TRUE(QDir().mkpath(path("presets")));
    QuickSave qs(path("presets"));
    SETTINGS_MAP live;
    ASSERT_TRUE(qs.store(QuickSave::A, live));
    const QByteArray before = readAll(qs.filePath(QuickSave::A));
    changeEveryParameter(live);
    FileSizeLimit limit(100);
    ASSERT_TRUE(limit.active());
    EXPECT_FALSE(qs.store(QuickSave::A, live));
    EXPECT_FALSE(qs.storeBoth(live));
    EXPECT_FALSE(qs.select(QuickSave::B, live));
    EXPECT_EQ(qs.current(), QuickSave::B);
    EXPECT_EQ(readAll(qs.filePath(QuickSave::A)), before);
    EXPECT_TRUE(qs.select(QuickSave::B, live)); // nothing to store
}
#endif

TEST_F(PresetStoreTest, QuickSaveStoreBothWritesBothFiles)
{
    ASSERT_TRUE(QDir().mkpath(path("presets")));
    QuickSave qs(path("presets"));
    SETTINGS_MAP live;
    changeEveryParameter(live);
    qs.storeBoth(live);
    for (int slot : {QuickSave::A, QuickSave::B}) {
        SETTINGS_MAP loaded;
        PresetHeader h;
        ASSERT_EQ(loadPreset(h, loaded, qs.filePath(slot)), PRESET_OK);
        EXPECT_EQ(differingParameters(loaded, live), 0);
        EXPECT_EQ(differingParameters(qs.memory(slot), live), 0);
    }
}
