#include "message_recorder.h"
#include "preset_helpers.h"
#include "presets/preset_file.h"
#include "presets/rc4.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace orba;
using namespace orba::test;

namespace {

using PresetFileTest = WorkDirTest;

QByteArray encode(const SETTINGS_MAP &set, const std::string &name = "Test")
{
    return encodePreset(namedHeader(name), set, 1234567);
}

// The old text format as the earlier application wrote it.
QByteArray oldFile(const QByteArray &lines)
{
    return QByteArray("ORBA PRESET FILE:Old Style:extra\n") + lines;
}

// Deciphers everything after the header line of a current-format file.
QByteArray plainBody(const QByteArray &file)
{
    const qsizetype start = file.indexOf('\n') + 1;
    QByteArray body = file.mid(start);
    Rc4 rc4(PRESET_KEY, PRESET_KEY_LENGTH);
    rc4.apply(body.data(), size_t(body.size()));
    return body;
}

} // namespace

TEST_F(PresetFileTest, WrittenPresetLoadsIntoAnotherSetWithEqualChecksums)
{
    SETTINGS_MAP source;
    changeEveryParameter(source);
    PresetHeader written = namedHeader("Morning Drive");
    std::memset(written.reserved.text[0], 'x', 40);
    std::memcpy(written.reserved.text[1], "second", 6);
    computePresetChecksums(source, written);
    ASSERT_TRUE(writePreset(written, source, path("drive.orba")));

    SETTINGS_MAP target;
    PresetHeader loaded;
    ASSERT_EQ(loadPreset(loaded, target, path("drive.orba")), PRESET_OK);
    EXPECT_EQ(differingParameters(source, target), 0);
    EXPECT_EQ(loaded.nameText(), "Morning Drive");
    EXPECT_EQ(loaded.inUse, 1);
    EXPECT_EQ(loaded.presetChecksum, written.presetChecksum);
    EXPECT_EQ(loaded.systemChecksum, written.systemChecksum);
    EXPECT_EQ(loaded.presetCount + loaded.systemCount, SETTINGS_COUNT);
    EXPECT_EQ(std::memcmp(loaded.reserved.text, written.reserved.text, sizeof loaded.reserved.text), 0);
    EXPECT_EQ(loaded.reserved.word[0], 0u);

    // The reserved block and nothing after the last record.
    const QByteArray file = readAll(path("drive.orba"));
    EXPECT_TRUE(file.startsWith("TALMEN ORBA PRESET:Morning Drive: \n"));
    EXPECT_EQ(plainBody(file).size(), PRESET_BLOCK_BYTES + PRESET_RECORD_BYTES * SETTINGS_COUNT);
    EXPECT_EQ(uint8_t(plainBody(file)[12]), uint8_t(~'x'));
}

TEST_F(PresetFileTest, FortyCharacterNameIsKeptWholeAndALongerOneCut)
{
    const std::string forty(40, 'N');
    SETTINGS_MAP set;
    ASSERT_TRUE(writePreset(namedHeader(forty), set, path("forty.orba")));
    EXPECT_TRUE(readAll(path("forty.orba")).startsWith("TALMEN ORBA PRESET:" + QByteArray(40, 'N') + ": \n"));
    PresetHeader h;
    ASSERT_EQ(readPresetHeader(h, path("forty.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), forty);
    EXPECT_EQ(std::memcmp(h.name, forty.data(), 40), 0);

    ASSERT_TRUE(writePreset(namedHeader(forty + "TAIL"), set, path("long.orba")));
    EXPECT_TRUE(readAll(path("long.orba")).startsWith("TALMEN ORBA PRESET:" + QByteArray(40, 'N') + ": \n"));
    // A longer name in a file (written elsewhere) is cut when read.
    QByteArray file = readAll(path("long.orba"));
    file.replace("NNNN: \n", "NNNNTAIL: \n");
    ASSERT_TRUE(writeAll(path("longer.orba"), file));
    ASSERT_EQ(readPresetHeader(h, path("longer.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), forty);
}

TEST_F(PresetFileTest, HeaderLineEndingInCrLfReadsLikeLf)
{
    SETTINGS_MAP source;
    changeEveryParameter(source);
    QByteArray file = encode(source, "Windows");
    file.insert(file.indexOf('\n'), '\r');
    SETTINGS_MAP target;
    PresetHeader h;
    ASSERT_EQ(decodePreset(file, h, target), PRESET_OK);
    EXPECT_EQ(h.nameText(), "Windows");
    EXPECT_EQ(differingParameters(source, target), 0);
}

TEST_F(PresetFileTest, TruncatedLastRecordLoadsEveryWholeRecordBeforeIt)
{
    SETTINGS_MAP source;
    changeEveryParameter(source);
    const QByteArray file = encode(source).chopped(3);
    SETTINGS_MAP target;
    PresetHeader h;
    ASSERT_EQ(decodePreset(file, h, target), PRESET_OK);
    const uint16_t last = settingIdAt(SETTINGS_COUNT - 1);
    EXPECT_EQ(differingParameters(source, target), 1);
    EXPECT_NE(target.getRaw(last), source.getRaw(last));
    EXPECT_EQ(target.getRaw(last), SETTINGS_MAP().getRaw(last));
    EXPECT_EQ(h.inUse, 1);
}

TEST_F(PresetFileTest, CutHeaderBlockStillGivesTheName)
{
    const QByteArray file = encode(SETTINGS_MAP(), "Short").left(40);
    PresetHeader h;
    SETTINGS_MAP target;
    EXPECT_EQ(decodePreset(file, h, target), PRESET_OK);
    EXPECT_EQ(h.nameText(), "Short");
    EXPECT_EQ(differingParameters(target, SETTINGS_MAP()), 0);
}

TEST_F(PresetFileTest, RecordsWithIdZeroUnknownIdOrNotANumberAreSkipped)
{
    SETTINGS_MAP source;
    QByteArray file = encode(source, "Odd");
    const qsizetype start = file.indexOf('\n') + 1;
    QByteArray body = plainBody(file);
    const auto record = [&](uint16_t id, uint32_t value) {
        char r[6];
        std::memcpy(r, &id, 2);
        std::memcpy(r + 2, &value, 4);
        body.append(r, 6);
    };
    const auto bits = [](float f) {
        uint32_t b;
        std::memcpy(&b, &f, 4);
        return b;
    };
    record(0, 5);
    record(9999, 5);
    record(PEQ1_LIFT, bits(-3.0f));
    record(PEQ1_FREQ, bits(std::numeric_limits<float>::quiet_NaN()));
    record(PEQ_MASTER_IN, 7); // any non-zero value is on
    Rc4 rc4(PRESET_KEY, PRESET_KEY_LENGTH);
    rc4.apply(body.data(), size_t(body.size()));
    file = file.left(start) + body;

    SETTINGS_MAP target;
    PresetHeader h;
    ASSERT_EQ(decodePreset(file, h, target), PRESET_OK);
    EXPECT_FLOAT_EQ(target.getFloat(PEQ1_LIFT), -3.0f);
    EXPECT_EQ(target.getRaw(PEQ1_FREQ), source.getRaw(PEQ1_FREQ));
    EXPECT_TRUE(target.getBool(PEQ_MASTER_IN));
}

TEST_F(PresetFileTest, OldTextLinesWithIdZeroNonNumberOrEmptyValue)
{
    SETTINGS_MAP set;
    ASSERT_NE(set.getFloat(PEQ1_LIFT), 0.0f);
    const SETTINGS_MAP defaults;
    const QByteArray file = oldFile("0:3.5\n"
                                    "abc:1\n"
                                    "782\n"          // PEQ 1 Lift from an empty value: zero
                                    "774:1000.0\r\n" // PEQ 1 Freq
                                    "768:1\n"        // PEQ Position
                                    "769:2\n"        // PEQ Mstr In: non-zero is on
                                    "\n"
                                    "65535:4\n");
    PresetHeader h;
    ASSERT_EQ(decodePreset(file, h, set), PRESET_OK);
    EXPECT_EQ(h.nameText(), "Old Style");
    EXPECT_EQ(h.inUse, 1);
    EXPECT_FLOAT_EQ(set.getFloat(PEQ1_LIFT), 0.0f);
    EXPECT_NEAR(set.getFloat(PEQ1_FREQ), 1000.0f, 30.0f);
    EXPECT_EQ(set.getInt(PEQ_POSITION), 1u);
    EXPECT_TRUE(set.getBool(PEQ_MASTER_IN));
    EXPECT_EQ(differingParameters(set, defaults), 4);
    EXPECT_EQ(h.presetChecksum, set.checksums().presetChecksum);
}

TEST_F(PresetFileTest, OldTextIdsAreTruncatedTo16BitsAndNumbersIgnoreTheLocale)
{
    EXPECT_EQ(leadingInt32("  42abc"), 42);
    EXPECT_EQ(leadingInt32("-7"), -7);
    EXPECT_EQ(leadingInt32("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(leadingInt32("x1"), 0);
    EXPECT_DOUBLE_EQ(leadingDouble(" -2.5dB"), -2.5);
    EXPECT_DOUBLE_EQ(leadingDouble("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingDouble("1e3x"), 1000.0);
    EXPECT_DOUBLE_EQ(leadingDouble("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(leadingDouble(""), 0.0);
    EXPECT_TRUE(std::isinf(leadingDouble("1e999")));
    EXPECT_LT(leadingDouble("-1e999"), -1e308);
    EXPECT_EQ(leadingDouble("1e-400"), 0.0);
    EXPECT_EQ(leadingDouble("0.0001e-330"), 0.0);

    SETTINGS_MAP set;
    PresetHeader h;
    // 66304 is 768 + 65536: the id of PEQ Position once cut to 16 bits.
    ASSERT_EQ(decodePreset(oldFile("66304:1\n782:1e999\n"), h, set), PRESET_OK);
    EXPECT_EQ(set.getInt(PEQ_POSITION), 1u);
    EXPECT_FLOAT_EQ(set.getFloat(PEQ1_LIFT), 14.0f); // clamped to its maximum
}

TEST_F(PresetFileTest, FileThatDoesNotLoadLeavesHeaderZeroedAndTableAsItWas)
{
    SETTINGS_MAP set;
    changeEveryParameter(set);
    SETTINGS_MAP before;
    before.assignFrom(set);
    ASSERT_TRUE(writeAll(path("notes.orba"), "ORBA PRESETS:not one\n768:0\n")); // neither format
    for (const auto &[file, result] :
         {std::pair{"notes.orba", PRESET_INVALID_TYPE}, {"missing.orba", PRESET_CANNOT_OPEN}}) {
        PresetHeader h = namedHeader("stale");
        h.inUse = 1;
        EXPECT_EQ(loadPreset(h, set, path(file)), result) << file;
        EXPECT_EQ(h.nameText(), "") << file;
        EXPECT_EQ(h.inUse, 0) << file;
        EXPECT_EQ(differingParameters(set, before), 0) << file;
        EXPECT_EQ(readPresetHeader(h, path(file)), result) << file;
    }
    EXPECT_STREQ(presetResultText(PRESET_INVALID_TYPE), "Invalid File Type");
    EXPECT_STREQ(presetResultText(PRESET_OK), "Success");
    EXPECT_STREQ(presetResultText(77), "Unknown Error");
}

TEST_F(PresetFileTest, PresetsDifferingOnlyInAnInstallationParameter)
{
    ASSERT_TRUE(isInstallationParameter(INPUT_LINE_GAIN));
    SETTINGS_MAP a, b;
    b.setFloat(INPUT_LINE_GAIN, 6.0f, CHANGE_LOCAL);
    ASSERT_TRUE(writePreset(namedHeader("P"), a, path("a.orba")));
    ASSERT_TRUE(writePreset(namedHeader("P"), b, path("b.orba")));
    PresetHeader ha, hb;
    SETTINGS_MAP la, lb;
    ASSERT_EQ(loadPreset(ha, la, path("a.orba")), PRESET_OK);
    ASSERT_EQ(loadPreset(hb, lb, path("b.orba")), PRESET_OK);
    EXPECT_EQ(ha.presetChecksum, hb.presetChecksum);
    EXPECT_EQ(ha.presetCount, hb.presetCount);
    EXPECT_NE(ha.systemChecksum, hb.systemChecksum);
    EXPECT_FALSE(samePreset(ha, hb));
}

TEST_F(PresetFileTest, SamePresetComparesNameChecksumsCountsUseAndLock)
{
    PresetHeader a = namedHeader("Same");
    a.inUse = 1;
    a.presetChecksum = 10;
    PresetHeader b = a;
    a.tail[3] = 9;               // not compared
    a.reserved.text[0][0] = 'q'; // not compared
    EXPECT_TRUE(samePreset(a, b));
    b.lock = PRESET_LOCKED;
    EXPECT_FALSE(samePreset(a, b));
    b.lock = 0;
    b.spareCount[1] = 1;
    EXPECT_FALSE(samePreset(a, b));
    b.spareCount[1] = 0;
    b.setName("Same2");
    EXPECT_FALSE(samePreset(a, b));
}

TEST_F(PresetFileTest, LineBreakInANameDoesNotCorruptTheFile)
{
    SETTINGS_MAP source;
    changeEveryParameter(source);
    PresetHeader h = namedHeader("Two\nLines");
    ASSERT_TRUE(writePreset(h, source, path("odd.orba")));
    SETTINGS_MAP target;
    ASSERT_EQ(loadPreset(h, target, path("odd.orba")), PRESET_OK);
    EXPECT_EQ(h.nameText(), "Two");
    EXPECT_EQ(differingParameters(source, target), 0);
}

#ifdef Q_OS_UNIX
// A write that runs out of room (here: the file size limit, which holds for root as well) fails and
// leaves the previous file exactly as it was.
TEST_F(PresetFileTest, FailedWriteLeavesTheOldFile)
{
    SETTINGS_MAP good;
    ASSERT_TRUE(writePreset(namedHeader("Good"), good, path("keep.orba")));
    const QByteArray before = readAll(path("keep.orba"));

    SETTINGS_MAP other;
    changeEveryParameter(other);
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(writePreset(namedHeader("Bad"), other, path("keep.orba")));
    }
    EXPECT_EQ(readAll(path("keep.orba")), before);
    EXPECT_EQ(QDir(path()).entryList(QDir::Files), QStringList{"keep.orba"}); // no temporary left
}
#endif

TEST_F(PresetFileTest, WriteIntoAMissingFolderFailsQuietly)
{
    MessageRecorder messages;
    EXPECT_FALSE(writePreset(namedHeader("x"), SETTINGS_MAP(), path("no/such/folder/x.orba")));
    EXPECT_TRUE(messages.empty());
}
