// The orba-preset command-line tool, run as a separate program.
#include "preset_helpers.h"
#include "presets/preset_file.h"
#include "presets/preset_package.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace orba;
using namespace orba::test;

namespace {

using ToolRun = ProgramRun;

class OrbaPresetToolTest : public WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        ASSERT_TRUE(QFileInfo(QDir(binDir()).filePath("orba-preset")).isExecutable())
            << "orba-preset not found in ORBA_BIN_DIR (\"" << binDir().toStdString()
            << "\"); run through ctest";
    }
    static ToolRun run(const QStringList &args) { return runProgram(QStringLiteral("orba-preset"), args); }
    void save(const QString &file, const SETTINGS_MAP &set, const std::string &name)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ASSERT_TRUE(writePreset(namedHeader(name), set, file));
    }
    // One line on standard error, starting with the program's name.
    static void expectOneErrorLine(const ToolRun &r, const char *text)
    {
        EXPECT_NE(r.status, 0);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_TRUE(r.err.startsWith("orba-preset: ")) << r.err.constData();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(r.err.endsWith('\n'));
        EXPECT_TRUE(r.err.contains(text)) << r.err.constData();
    }
};

} // namespace

TEST_F(OrbaPresetToolTest, ShowPrintsNameChecksumsAndEveryParameterInTableOrder)
{
    SETTINGS_MAP set;
    set.setFloat(PEQ1_LIFT, -3.0f, CHANGE_LOCAL);
    save(path("p.orba"), set, "Evening Talk");
    const ToolRun r = run({"show", path("p.orba")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3 + SETTINGS_COUNT + 1); // and the final line feed
    EXPECT_EQ(lines[0], "Evening Talk");
    const SetChecksums sums = set.checksums();
    EXPECT_EQ(lines[1], QByteArray("presetChecksum ") +
                            QString::asprintf("%08X (%d)", sums.presetChecksum, sums.presetCount).toLatin1());
    EXPECT_EQ(lines[2], QByteArray("systemChecksum ") +
                            QString::asprintf("%08X (%d)", sums.systemChecksum, sums.systemCount).toLatin1());
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const uint16_t id = settingIdAt(i);
        EXPECT_EQ(lines[3 + i],
                  QByteArray(settingName(id)) + '\t' + QByteArray::fromStdString(set.label(id)).trimmed());
    }
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(OrbaPresetToolTest, DiffListsOnlyDifferencesAndExitsZeroOneOrTwo)
{
    SETTINGS_MAP a, b;
    b.setFloat(PEQ1_LIFT, -3.0f, CHANGE_LOCAL);
    b.setBool(PEQ_MASTER_IN, !a.getBool(PEQ_MASTER_IN), CHANGE_LOCAL);
    save(path("a.orba"), a, "A");
    save(path("a2.orba"), a, "Other name, same settings");
    save(path("b.orba"), b, "B");

    ToolRun r = run({"diff", path("a.orba"), path("a2.orba")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());

    r = run({"diff", path("a.orba"), path("b.orba")});
    EXPECT_EQ(r.status, 1);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const auto line = [](const SETTINGS_MAP &x, const SETTINGS_MAP &y, uint16_t id) {
        return QByteArray(settingName(id)) + '\t' + QByteArray::fromStdString(x.label(id)).trimmed() + '\t' +
               QByteArray::fromStdString(y.label(id)).trimmed();
    };
    // Table order: PEQ Mstr In comes before PEQ 1 Lift.
    EXPECT_EQ(lines[0], line(a, b, PEQ_MASTER_IN));
    EXPECT_EQ(lines[1], line(a, b, PEQ1_LIFT));

    r = run({"diff", path("a.orba"), path("missing.orba")});
    EXPECT_EQ(r.status, 2);
    expectOneErrorLine(r, "missing.orba: no such file");
}

TEST_F(OrbaPresetToolTest, ConvertReadsTheOldFormatAndWritesTheCurrentOne)
{
    ASSERT_TRUE(writeAll(path("old.txt"), "ORBA PRESET FILE:Legacy\n782:-2.0\n768:1\n"));
    const ToolRun r = run({"convert", path("old.txt"), path("new.orba")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(readAll(path("new.orba")).startsWith("TALMEN ORBA PRESET:Legacy: \n"));
    SETTINGS_MAP set;
    PresetHeader h;
    ASSERT_EQ(loadPreset(h, set, path("new.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), "Legacy");
    EXPECT_FLOAT_EQ(set.getFloat(PEQ1_LIFT), -2.0f);
    EXPECT_EQ(set.getInt(PEQ_POSITION), 1u);
}

TEST_F(OrbaPresetToolTest, FailedConvertWritesNothing)
{
    ASSERT_TRUE(writeAll(path("junk.orba"), "hello\n"));
    ToolRun r = run({"convert", path("junk.orba"), path("out.orba")});
    expectOneErrorLine(r, "junk.orba: Invalid File Type");
    EXPECT_FALSE(QFileInfo::exists(path("out.orba")));

    // An existing output stays as it was.
    ASSERT_TRUE(writeAll(path("out.orba"), "previous"));
    r = run({"convert", path("missing.orba"), path("out.orba")});
    expectOneErrorLine(r, "missing.orba: no such file");
    EXPECT_EQ(readAll(path("out.orba")), "previous");

    save(path("good.orba"), SETTINGS_MAP(), "Good");
    r = run({"convert", path("good.orba"), path("no/such/folder/out.orba")});
    expectOneErrorLine(r, "cannot write");
    EXPECT_FALSE(QFileInfo::exists(path("no")));
}

TEST_F(OrbaPresetToolTest, PackAndInstallRoundTrip)
{
    SETTINGS_MAP set;
    changeEveryParameter(set);
    save(path("tree/one.orba"), set, "One");
    save(path("tree/sub/two.orba"), SETTINGS_MAP(), "Two");
    ASSERT_TRUE(writeAll(path("tree/orba_pset_idx.txt"), "one.orba\n"));

    ToolRun r = run({"pack", path("tree"), path("tree.pkg")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    // The same bytes as the library's own build.
    ASSERT_EQ(buildPackage(path("tree"), path("lib.pkg")), 0);
    EXPECT_EQ(readAll(path("tree.pkg")), readAll(path("lib.pkg")));

    r = run({"install", path("tree.pkg"), path("copy/here")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    for (const char *file : {"one.orba", "sub/two.orba", "orba_pset_idx.txt"})
        EXPECT_EQ(readAll(path("copy/here/") + file), readAll(path("tree/") + file)) << file;
}

TEST_F(OrbaPresetToolTest, ErrorsAreOneClearLine)
{
    expectOneErrorLine(run({"show", path("missing.orba")}), "missing.orba: no such file");
    ASSERT_TRUE(writeAll(path("text.orba"), "just some text\n"));
    expectOneErrorLine(run({"show", path("text.orba")}), "text.orba: Invalid File Type");
    expectOneErrorLine(run({"show", path()}), "is a folder");

    ASSERT_TRUE(writeAll(path("foreign.pkg"), "PK\x03\x04 not ours at all"));
    expectOneErrorLine(run({"install", path("foreign.pkg"), path("t")}),
                       "This is not an ORBA preset package.");
    QByteArray cut = packageHeader() + packageRecord("a.orba", "data");
    cut.chop(1);
    ASSERT_TRUE(writeAll(path("cut.pkg"), cut));
    expectOneErrorLine(run({"install", path("cut.pkg"), path("t")}), "damaged package record");
    ASSERT_TRUE(writeAll(path("escape.pkg"), packageHeader() + packageRecord("../up.orba", "x")));
    expectOneErrorLine(run({"install", path("escape.pkg"), path("t")}), "leaves the target folder");
    EXPECT_FALSE(QFileInfo::exists(path("up.orba")));
    expectOneErrorLine(run({"install", path("none.pkg"), path("t")}), "none.pkg: no such file");
    expectOneErrorLine(run({"pack", path("nofolder"), path("x.pkg")}), "nofolder: no such folder");

    expectOneErrorLine(run({}), "no command");
    expectOneErrorLine(run({"frobnicate"}), "unknown command");
    expectOneErrorLine(run({"show"}), "expects 1 argument");
    expectOneErrorLine(run({"diff", "a"}), "expects 2 arguments");
}

#ifdef Q_OS_UNIX
TEST_F(OrbaPresetToolTest, InputAndOutputMustBeRegularFilesAndInputIsCapped)
{
    SETTINGS_MAP set;
    save(path("p.orba"), set, "Plain");
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    // Neither read (it would block) nor replaced by the output's rename.
    for (const QStringList &args :
         {QStringList{"show", path("pipe")}, QStringList{"install", path("pipe"), path("t")},
          QStringList{"show", "/dev/zero"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        expectOneErrorLine(runProgram(QStringLiteral("orba-preset"), args, 20000), "is not a regular file");
    }
    expectOneErrorLine(run({"convert", path("p.orba"), path("pipe")}), "pipe: is not a regular file");
    ASSERT_TRUE(QDir().mkpath(path("tree")));
    expectOneErrorLine(run({"pack", path("tree"), path("pipe")}), "pipe: is not a regular file");
    const QFileInfo pipe(path("pipe"));
    EXPECT_TRUE(pipe.exists());
    EXPECT_FALSE(pipe.isFile()) << "still the pipe";

    // A sparse file just over the limit: refused before it is read.
    {
        QFile big(path("big.pkg"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize((qint64(64) << 20) + 1));
    }
    expectOneErrorLine(run({"install", path("big.pkg"), path("t")}), "big.pkg: is larger than 64 MiB");
    EXPECT_FALSE(QFileInfo::exists(path("t")));
}
#endif
