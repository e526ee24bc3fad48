// orba-ctl's preset commands against orba-sim, both run as separate programs on loopback ports;
// files are compared with orba-preset diff.
#include "ctl_fixture.h"
#include "presets/preset_backup.h"
#include "presets/preset_file.h"
#include "presets/preset_helpers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

class CtlPresetsTest : public CtlRunTest
{
protected:
    // orba-preset diff: status 0 and nothing printed when the presets hold the same values.
    static void expectSameValues(const QString &a, const QString &b)
    {
        const ProgramRun r = runProgram("orba-preset", {"diff", a, b});
        EXPECT_EQ(r.status, 0) << a.toStdString() << " / " << b.toStdString() << '\n' << r.out.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
    }
    void writeChangedPreset(const QString &file, const char *name)
    {
        SETTINGS_MAP set;
        changeEveryParameter(set);
        ASSERT_TRUE(writePreset(namedHeader(name), set, file));
    }
};

} // namespace

TEST_F(CtlPresetsTest, PushThenGrabGivesBackEveryValueBitForBit)
{
    SimProcess &sim = startSim();
    writeChangedPreset(path("sent.orba"), "Everything Moved");
    ProgramRun r = ctl(sim, {"push", "sent.orba", "30"});
    expectOk(r);
    EXPECT_EQ(r.out, "030\tEverything Moved\n");
    r = ctl(sim, {"grab", "30", "back.orba"});
    expectOk(r);
    EXPECT_EQ(r.out, "030\tEverything Moved\n");
    expectSameValues(path("sent.orba"), path("back.orba"));

    // The whole set came back, not just what a default set would agree with.
    SETTINGS_MAP sent, back;
    PresetHeader hs, hb;
    ASSERT_EQ(loadPreset(hs, sent, path("sent.orba")), PRESET_OK);
    ASSERT_EQ(loadPreset(hb, back, path("back.orba")), PRESET_OK);
    EXPECT_EQ(differingParameters(sent, back), 0);
    EXPECT_GT(differingParameters(back, SETTINGS_MAP()), 200);
    EXPECT_EQ(hb.nameText(), "Everything Moved");
}

TEST_F(CtlPresetsTest, RefusalsAreOneLineNamingTheRulesMessageAndChangeNothing)
{
    SimProcess &sim = startSim();
    writeChangedPreset(path("p.orba"), "P");
    const QByteArray before = ctl(sim, {"slots"}).out;
    expectOneErrorLine(ctl(sim, {"push", "p.orba", "11"}), "The destination preset is locked.");
    expectOneErrorLine(ctl(sim, {"save", "1", "Mine"}), "The destination preset is locked.");
    expectOneErrorLine(ctl(sim, {"save", "40", "AC/DC"}), "There are invalid characters in the name.");
    expectOneErrorLine(ctl(sim, {"save", "40", " Lead"}), "A preset name cannot start with a space.");
    expectOneErrorLine(ctl(sim, {"push", "p.orba", "81"}), "There is no preset 81: presets are numbered 1 to 80.");
    expectOneErrorLine(ctl(sim, {"grab", "0", "x.orba"}), "There is no preset 0");
    expectOneErrorLine(ctl(sim, {"take", "99"}), "There is no preset 99");
    expectOneErrorLine(ctl(sim, {"grab", "50", "x.orba"}), "Preset 50 is empty.");
    expectOneErrorLine(ctl(sim, {"take", "50"}), "Preset 50 is empty.");
    ASSERT_TRUE(writeAll(path("junk.orba"), "no preset\n"));
    expectOneErrorLine(ctl(sim, {"push", "junk.orba", "40"}), "Error taking preset: Invalid File Type");
    expectOneErrorLine(ctl(sim, {"take", "missing.orba"}), "Error taking preset:");
    expectOneErrorLine(ctl(sim, {"push", "p.orba"}), "push: expects FILE SLOT");
    EXPECT_FALSE(QFile::exists(path("x.orba")));
    EXPECT_EQ(ctl(sim, {"slots"}).out, before);
}

TEST_F(CtlPresetsTest, SaveAndTakeWorkOnTheProcessorsSlotsAndLiveSettings)
{
    SimProcess &sim = startSim();
    ProgramRun r = ctl(sim, {"save", "40", "Drive Time!"});
    expectOk(r);
    EXPECT_EQ(r.out, "040\tDrive Time!\n");
    EXPECT_TRUE(ctl(sim, {"slots"}).out.contains("040\tDrive Time!\tunlocked\n"));
    r = ctl(sim, {"take", "5"});
    expectOk(r);
    EXPECT_EQ(r.out, "005\tSports Play by Play\n");
    EXPECT_TRUE(ctl(sim, {"status"}).out.contains("preset\tSports Play by Play\n"));

    writeChangedPreset(path("disk.orba"), "From Disk");
    r = ctl(sim, {"take", "disk.orba"});
    expectOk(r);
    EXPECT_EQ(r.out, "disk.orba\tFrom Disk\n");
    EXPECT_TRUE(ctl(sim, {"status"}).out.contains("preset\tFrom Disk\n"));
    // The processor's live settings are the file's now: saved and grabbed, they compare equal
    // (installation parameters aside, which the file takes only when the processor follows presets).
    expectOk(ctl(sim, {"save", "41", "Check"}));
    expectOk(ctl(sim, {"grab", "41", "check.orba"}));
    const ProgramRun diff = runProgram("orba-preset", {"diff", path("disk.orba"), path("check.orba")});
    SETTINGS_MAP disk, check;
    PresetHeader h1, h2;
    ASSERT_EQ(loadPreset(h1, disk, path("disk.orba")), PRESET_OK);
    ASSERT_EQ(loadPreset(h2, check, path("check.orba")), PRESET_OK);
    EXPECT_EQ(h1.presetChecksum, h2.presetChecksum) << diff.out.constData();
}

TEST_F(CtlPresetsTest, BackupThenRestoreIntoAFreshSimulatorReproducesNamesLocksAndValues)
{
    SimProcess &first = startSim();
    writeChangedPreset(path("moved.orba"), "Moved 50% more");
    expectOk(ctl(first, {"push", "moved.orba", "33"}));
    expectOk(ctl(first, {"save", "80", "Last One"}));
    const QByteArray slotsBefore = ctl(first, {"slots"}).out;
    ProgramRun r = ctl(first, {"backup", "bk"});
    expectOk(r);
    EXPECT_EQ(r.out, slotsBefore);
    const QByteArray index = readAll(path("bk/orba_backup.txt"));
    EXPECT_TRUE(index.contains("033\t0\t033_Moved 50% more.orba\tMoved 50%25 more\n")) << index.constData();
    EXPECT_TRUE(index.contains("001\t2\t001_Factory Default.orba\tFactory Default\n"));
    EXPECT_TRUE(index.contains("011\t1\t011_Station Custom.orba\tStation Custom\n"));

    SimProcess &fresh = startSim({}, true);
    EXPECT_EQ(ctl(fresh, {"slots"}).out, "");
    r = ctl(fresh, {"restore", "bk"});
    expectOk(r);
    EXPECT_EQ(r.out, slotsBefore);
    EXPECT_EQ(ctl(fresh, {"slots"}).out, slotsBefore);
    // The values: a backup of the fresh one holds the same presets, file by file.
    expectOk(ctl(fresh, {"backup", "again"}));
    EXPECT_EQ(readAll(path("again/orba_backup.txt")), index);
    const BackupIndex entries = parseBackupIndex(index);
    ASSERT_TRUE(entries.ok());
    ASSERT_EQ(entries.entries.size(), 14u);
    for (const BackupEntry &e : entries.entries)
        expectSameValues(path("bk/" + e.file), path("again/" + e.file));
}

TEST_F(CtlPresetsTest, RestoreLeavesLockedSlotsThatHoldAnotherPresetAndListsThem)
{
    SimProcess &sim = startSim();
    expectOk(ctl(sim, {"backup", "bk"}));
    // Locked slots that already hold the very preset are no refusal: the same backup restores.
    expectOk(ctl(sim, {"restore", "bk"}));

    QByteArray index = readAll(path("bk/orba_backup.txt"));
    index.replace("\tStation Custom\n", "\tStation Custom 2\n");
    index.replace("\tNews Talk\n", "\tNews Talk 2\n");
    index.replace("\tClassic Rock\n", "\tClassic Rock 2\n");
    ASSERT_TRUE(writeAll(path("bk/orba_backup.txt"), index));
    const ProgramRun r = ctl(sim, {"restore", "bk"});
    expectOneErrorLine(r, "The destination preset is locked. (004, 011; the other presets were restored)");
    EXPECT_TRUE(ctl(sim, {"slots"}).out.contains("006\tClassic Rock 2\tunlocked\n"));
    EXPECT_TRUE(ctl(sim, {"slots"}).out.contains("011\tStation Custom\tlocked\n"));
}

TEST_F(CtlPresetsTest, ARestoreWithAFileThatDoesNotLoadSendsNothing)
{
    SimProcess &sim = startSim();
    expectOk(ctl(sim, {"save", "40", "Forty"}));
    expectOk(ctl(sim, {"backup", "bk"}));
    expectOk(ctl(sim, {"save", "40", "Changed"}));
    ASSERT_TRUE(writeAll(path("bk/012_Morning Show.orba"), "broken"));
    expectOneErrorLine(ctl(sim, {"restore", "bk"}), "Error taking preset: Invalid File Type");
    EXPECT_TRUE(ctl(sim, {"slots"}).out.contains("040\tChanged\t"));

    ASSERT_TRUE(writeAll(path("bk/orba_backup.txt"), "ORBA BACKUP 1\n001\t0\t../x.orba\tX\n"));
    expectOneErrorLine(ctl(sim, {"restore", "bk"}), "line 2 of the backup index");
    expectOneErrorLine(ctl(sim, {"restore", "nowhere"}), "cannot read");
}

namespace {

int pdfPages(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll())
                   .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

} // namespace

TEST_F(CtlPresetsTest, DiffOfTwoFilesPrintsTheDifferingRowsWithoutAProcessor)
{
    SETTINGS_MAP a, b;
    b.assignFrom(a);
    ASSERT_TRUE(b.setFloat(PEQ1_LIFT, -10.0f, CHANGE_LOCAL));
    const PresetHeader h = namedHeader("Same Name");
    ASSERT_TRUE(writePreset(h, a, path("a.orba")));
    ASSERT_TRUE(writePreset(h, b, path("b.orba")));
    // No processor listens on this port: files alone must not connect.
    ProgramRun r =
        runProgram("orba-ctl", {"--port", QString::number(freeTcpPort()), "diff", "a.orba", "b.orba"});
    expectOk(r);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3) << r.out.constData();
    EXPECT_TRUE(lines[0].startsWith("CRC\t")) << r.out.constData();
    EXPECT_EQ(lines[1], QByteArray(settingName(PEQ1_LIFT)) + '\t' + a.label(PEQ1_LIFT).c_str() + '\t' +
                            b.label(PEQ1_LIFT).c_str());

    r = runProgram("orba-ctl", {"diff", "a.orba", "a.orba"});
    expectOk(r);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
    expectOneErrorLine(runProgram("orba-ctl", {"diff", "a.orba", "missing.orba"}), "Error taking preset:");
    expectOneErrorLine(runProgram("orba-ctl", {"diff", "a.orba"}), "diff: expects two of SLOT or FILE");
}

TEST_F(CtlPresetsTest, DiffOfAPushedSlotAndItsFileShowsOnlyWhatChangedAfter)
{
    SimProcess &sim = startSim();
    writeChangedPreset(path("sent.orba"), "Everything Moved");
    expectOk(ctl(sim, {"push", "sent.orba", "30"}));
    ProgramRun r = ctl(sim, {"diff", "30", "sent.orba"});
    expectOk(r);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();

    // A slot against another slot: the names and every moved value differ.
    r = ctl(sim, {"diff", "30", "1"});
    expectOk(r);
    EXPECT_TRUE(r.out.startsWith("Name\tEverything Moved\t")) << r.out.constData();
    EXPECT_GT(r.out.count('\n'), 100);
    expectOneErrorLine(ctl(sim, {"diff", "30", "79"}), "Preset 79 is empty.");
}

TEST_F(CtlPresetsTest, ReportWritesThePrintLayoutAsAPdf)
{
    writeChangedPreset(path("night.orba"), "Night");
    ProgramRun r = runProgram("orba-ctl", {"report", "night.orba", "--pdf", "night.pdf"});
    expectOk(r);
    const int pages = pdfPages(path("night.pdf"));
    EXPECT_GE(pages, 2);
    EXPECT_EQ(r.out, QByteArray("night.pdf\t") + QByteArray::number(pages) + '\n');
    expectOneErrorLine(runProgram("orba-ctl", {"report", "night.orba"}), "report: expects --pdf OUT.pdf");
    expectOneErrorLine(runProgram("orba-ctl", {"slots", "--pdf", "x.pdf"}), "--pdf goes with report only");

    SimProcess &sim = startSim();
    r = ctl(sim, {"report", "1", "--pdf", "slot.pdf"});
    expectOk(r);
    EXPECT_EQ(pdfPages(path("slot.pdf")), pages);
}
