// The favourite folders on disk and the backup index of the processor's slots.
#include "common/ini_store.h"
#include "message_recorder.h"
#include "preset_helpers.h"
#include "presets/favorites.h"
#include "presets/package_store.h"
#include "presets/preset_backup.h"
#include "presets/preset_file.h"
#include "presets/preset_index.h"
#include "presets/preset_package.h"
#include "work_dir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

class FavoritesTest : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(path("favorites")));
        settings = std::make_unique<IniStore>(path("KELQT.ini"), IniStore::XmlFile);
    }
    void TearDown() override
    {
        settings.reset();
        WorkDirTest::TearDown();
    }
    QString fav(const QString &relative = {}) const
    {
        return relative.isEmpty() ? path("favorites") : path("favorites/" + relative);
    }
    // A package of one preset, installed under the file's base name.
    void installPackage(const QString &name)
    {
        ASSERT_TRUE(QDir().mkpath(path("src/sub")));
        ASSERT_TRUE(savePresetToFolder(path("src/sub"), "Deep", SETTINGS_MAP()));
        ASSERT_EQ(buildPackage(path("src"), path(name + ".pkg")), 0);
        ASSERT_TRUE(installPackageFile(*settings, fav(), path(name + ".pkg")).ok());
    }
    static PresetClipboard clip(const char *name)
    {
        auto set = std::make_shared<SETTINGS_MAP>();
        changeEveryParameter(*set);
        return {{namedHeader(name), set}};
    }

    std::unique_ptr<IniStore> settings;
    MessageRecorder messages;
};

} // namespace

TEST_F(FavoritesTest, DeletingASubFolderOfAnInstalledPackageIsRefused)
{
    installPackage("Rock");
    ASSERT_TRUE(QFileInfo::exists(fav("Rock/sub/Deep.orba")));
    EXPECT_FALSE(deleteFolder(*settings, fav(), fav("Rock/sub")));
    ASSERT_EQ(messages.only(), Box("Delete Folder", "You must delete the entire package at once."));
    EXPECT_TRUE(QFileInfo::exists(fav("Rock/sub/Deep.orba")));

    // The package folder itself may go, after a question that says what it is; its sub-folder
    // keeps it from being removed, as the tree shows.
    messages.clear();
    messages.answer(MsgYes);
    EXPECT_FALSE(deleteFolder(*settings, fav(), fav("Rock")));
    EXPECT_EQ(messages.messages()[0].text,
              "Are you sure you want to delete the selected folder?\n\nThis is a preset package folder!!!");
    EXPECT_EQ(messages.last().text, "Cannot delete the folder, it is not empty.");
    EXPECT_TRUE(isPackageName(*settings, "Rock"));
}

TEST_F(FavoritesTest, DeletingAnEmptiedPackageFolderTakesItOffThePackageList)
{
    ASSERT_TRUE(savePresetToFolder(fav(), "p", SETTINGS_MAP()));
    ASSERT_EQ(buildPackage(fav(), path("Flat.pkg")), 0);
    QFile::remove(fav("p.orba"));
    QFile::remove(fav(PRESET_INDEX_FILE));
    ASSERT_TRUE(installPackageFile(*settings, fav(), path("Flat.pkg")).ok());
    messages.answer(MsgYes);
    EXPECT_TRUE(deleteFolder(*settings, fav(), fav("Flat")));
    EXPECT_FALSE(QFileInfo::exists(fav("Flat")));
    EXPECT_FALSE(isPackageName(*settings, "Flat"));
}

TEST_F(FavoritesTest, FolderOperationsRefuseNothingSelectedAndTheRoot)
{
    EXPECT_FALSE(deleteFolder(*settings, fav(), QString()));
    EXPECT_EQ(messages.last().text, "Please select a folder to delete.");
    EXPECT_FALSE(deleteFolder(*settings, fav(), fav()));
    EXPECT_EQ(messages.last().text, "Cannot delete the root folder.");
    EXPECT_TRUE(renameFolder(fav(), fav(), "X").isEmpty());
    EXPECT_EQ(messages.last().text, "Cannot rename the root folder.");
    EXPECT_TRUE(newFolder(QString(), "X").isEmpty());
    EXPECT_EQ(messages.last().text, "Please select a location in the tree to create the new folder.");
    EXPECT_TRUE(newFolder(fav(), " X").isEmpty());
    EXPECT_EQ(messages.last().title, "New Folder");
    EXPECT_EQ(messages.last().text, "A folder name cannot start or end with a space.");
    const QString made = newFolder(fav(), "Drive #2");
    EXPECT_EQ(made, fav("Drive #2"));
    EXPECT_TRUE(newFolder(fav(), "Drive #2").isEmpty());
    EXPECT_EQ(messages.last().text, "Unable to create new folder");
    EXPECT_EQ(renameFolder(fav(), made, "Night"), fav("Night"));
}

TEST_F(FavoritesTest, CopyIntoAProtectedFolderIsRefusedElseWrittenAndIndexed)
{
    installPackage("Pack");
    EXPECT_FALSE(copyPresetsToFolder(*settings, fav(), fav("Pack/sub"), clip("X")));
    EXPECT_EQ(messages.last().title, "Copy Files");
    EXPECT_EQ(messages.last().text, "You can not copy presets to a protected folder.");
    EXPECT_FALSE(QFileInfo::exists(fav("Pack/sub/X.orba")));

    ASSERT_TRUE(copyPresetsToFolder(*settings, fav(), fav(), clip("Rock: Loud")));
    EXPECT_EQ(readIndex(fav()).value(), QStringList{"Rock_ Loud.orba"});
    PresetHeader h;
    SETTINGS_MAP set;
    ASSERT_EQ(loadPreset(h, set, fav("Rock_ Loud.orba")), PRESET_OK);
    EXPECT_EQ(differingParameters(set, *clip("x")[0].values), 0);
}

TEST_F(FavoritesTest, RenamingAPresetFileRenamesThePresetAndItsIndexEntry)
{
    ASSERT_TRUE(savePresetToFolder(fav(), "Old", SETTINGS_MAP()));
    ASSERT_TRUE(savePresetToFolder(fav(), "Other", SETTINGS_MAP()));
    EXPECT_TRUE(renamePresetFile(fav("Old.orba"), "Other").isEmpty());
    EXPECT_EQ(messages.last().text, "A file with that name already exists.");
    EXPECT_EQ(renamePresetFile(fav("Old.orba"), "New"), fav("New.orba"));
    PresetHeader h;
    ASSERT_EQ(readPresetHeader(h, fav("New.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), "New");
    EXPECT_EQ(readIndex(fav()).value(), (QStringList{"New.orba", "Other.orba"}));
}

TEST_F(FavoritesTest, DeletingPresetFilesAsksThenTakesThemOutOfTheIndex)
{
    ASSERT_TRUE(savePresetToFolder(fav(), "a", SETTINGS_MAP()));
    ASSERT_TRUE(savePresetToFolder(fav(), "b", SETTINGS_MAP()));
    messages.answer(MsgNo);
    EXPECT_EQ(deletePresetFiles({fav("a.orba")}), 0);
    EXPECT_EQ(messages.last().title, "Delete presets");
    EXPECT_EQ(messages.last().text, "Are you sure you wish to delete the presets?\na\n");
    messages.answer(MsgYes);
    EXPECT_EQ(deletePresetFiles({fav("a.orba"), fav("missing.orba")}), 1);
    EXPECT_EQ(readIndex(fav()).value(), QStringList{"b.orba"});
}

// ---- backup index ------------------------------------------------------------------------------------

TEST(BackupIndex, RoundTripKeepsSlotsLocksFilesAndEveryByteOfTheNames)
{
    std::vector<BackupEntry> entries;
    entries.push_back({0, 2, backupFileName(0, "Factory Default"), "Factory Default"});
    const QByteArray odd("A/B: 50%\tC\n\x01", 12);
    entries.push_back({41, 1, backupFileName(41, odd), odd});
    entries.push_back({79, 0, backupFileName(79, ".."), ".."});
    EXPECT_EQ(entries[1].file, "042_A_B_ 50%_C__.orba");
    EXPECT_EQ(entries[2].file, "080__.orba");
    const BackupIndex back = parseBackupIndex(renderBackupIndex(entries));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    ASSERT_EQ(back.entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.entries[i].slot, entries[i].slot);
        EXPECT_EQ(back.entries[i].lock, entries[i].lock);
        EXPECT_EQ(back.entries[i].file, entries[i].file);
        EXPECT_EQ(back.entries[i].name, entries[i].name);
    }
}

TEST(BackupIndex, RefusesTheWholeIndexAtTheFirstBadLine)
{
    const QByteArray head = QByteArray(BACKUP_MAGIC) + '\n';
    const auto badLine = [&](const QByteArray &body) { return parseBackupIndex(head + body).badLine; };
    EXPECT_EQ(parseBackupIndex("ORBA SOMETHING\n").badLine, 1);
    EXPECT_EQ(badLine("001\t0\ta.orba\n"), 2);
    EXPECT_EQ(badLine("000\t0\ta.orba\tA\n"), 2);
    EXPECT_EQ(badLine("081\t0\ta.orba\tA\n"), 2);
    EXPECT_EQ(badLine("001\t3\ta.orba\tA\n"), 2);
    EXPECT_EQ(badLine("001\t0\t../a.orba\tA\n"), 2);
    EXPECT_EQ(badLine("001\t0\ta.orba\tA\n001\t0\tb.orba\tB\n"), 3);
    EXPECT_EQ(badLine("001\t0\ta.orba\t%4\n"), 2);
    EXPECT_EQ(badLine("001\t0\ta.orba\t" + QByteArray(41, 'x') + '\n'), 2);
    const BackupIndex good = parseBackupIndex(head + "001\t0\ta.orba\tA\r\n\n002\t1\tb.orba\t\n");
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.entries.size(), 2u);
    EXPECT_TRUE(parseBackupIndex(head + "001\t0\ta.orba\tA\n001").entries.empty());
}
