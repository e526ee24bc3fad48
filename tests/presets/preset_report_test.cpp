// Report rows and lines without widgets: which rows differ and the exact printed text.
#include "preset_helpers.h"
#include "presets/preset_report.h"

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

PresetPair pairOf(const SETTINGS_MAP &set, const std::string &name)
{
    return {&set, headerForSet(set, name)};
}

} // namespace

TEST(PresetReport, ComparingAPresetWithItselfMarksNoRow)
{
    SETTINGS_MAP set;
    changeEveryParameter(set);
    const PresetPair pair = pairOf(set, "Morning Drive");
    const std::vector<DiffRow> rows = diffRows(pair, pair);
    ASSERT_EQ(int(rows.size()), settingCount() + 3);
    EXPECT_EQ(differingRows(rows), 0);
    for (const ReportLine &line : diffReportLines(rows)) {
        EXPECT_TRUE(line.text.startsWith(QLatin1String("   "))) << line.text.toStdString();
        EXPECT_EQ(line.argb, REPORT_TEXT_ARGB);
    }
}

TEST(PresetReport, NamesDifferingOnlyAfterTheFortiethCharacterCompareEqual)
{
    const std::string stem(40, 'A');
    PresetHeader a, b;
    a.clear();
    b.clear();
    // Full 40-character names have no terminator: what follows them must not count.
    a.setName(stem + "first");
    b.setName(stem + "second");
    a.inUse = 0x11;
    b.inUse = 0x22;
    EXPECT_TRUE(sameName(a, b));
    SETTINGS_MAP set;
    const std::vector<DiffRow> rows = diffRows({&set, a}, {&set, b});
    EXPECT_EQ(rows[0].label, QLatin1String("Name"));
    EXPECT_FALSE(rows[0].differs);
    EXPECT_EQ(differingRows(rows), 0);

    b.setName(std::string(39, 'A') + "B");
    EXPECT_FALSE(sameName(a, b));
    EXPECT_TRUE(diffRows({&set, a}, {&set, b})[0].differs);
}

TEST(PresetReport, OneChangedParameterMarksItsRowAndTheChecksum)
{
    SETTINGS_MAP live, other;
    other.assignFrom(live);
    ASSERT_TRUE(other.setFloat(PEQ1_LIFT, -10.0f, CHANGE_LOCAL));
    const std::vector<DiffRow> rows = diffRows(pairOf(live, "X"), pairOf(other, "X"));
    int marked = 0;
    for (const DiffRow &row : rows) {
        if (!row.differs)
            continue;
        ++marked;
        EXPECT_TRUE(row.label == QLatin1String("CRC") || row.label == QLatin1String(settingName(PEQ1_LIFT)))
            << row.label.toStdString();
    }
    EXPECT_EQ(marked, 2);

    const std::vector<ReportLine> lines = diffReportLines(rows);
    const auto it = std::find_if(lines.begin(), lines.end(), [](const ReportLine &l) {
        return l.text.contains(QLatin1String(settingName(PEQ1_LIFT)));
    });
    ASSERT_NE(it, lines.end());
    EXPECT_EQ(it->argb, REPORT_DIFF_ARGB);
    EXPECT_TRUE(it->text.startsWith(QStringLiteral("** ") + QLatin1String(settingName(PEQ1_LIFT))));
    // The live value at column 37, the compared one at 50.
    EXPECT_EQ(it->text.mid(37, 13).trimmed(), valueText(live, PEQ1_LIFT));
    EXPECT_EQ(it->text.mid(50), valueText(other, PEQ1_LIFT));
}

TEST(PresetReport, IntegerAndBooleanChangesAreMarked)
{
    SETTINGS_MAP a, b;
    b.assignFrom(a);
    ASSERT_TRUE(b.setBool(PEQ_MASTER_IN, !a.getBool(PEQ_MASTER_IN), CHANGE_LOCAL));
    ASSERT_TRUE(b.setInt(PEQ_POSITION, a.getInt(PEQ_POSITION) ? 0 : 1, CHANGE_LOCAL));
    EXPECT_TRUE(parameterDiffers(a, b, PEQ_MASTER_IN));
    EXPECT_TRUE(parameterDiffers(a, b, PEQ_POSITION));
    EXPECT_FALSE(parameterDiffers(a, b, PEQ1_LIFT));
}

TEST(PresetReport, TabsRunToTheNextColumnBeyondTheText)
{
    EXPECT_EQ(expandTabs(QStringLiteral("ab\tc"), {4, 8}), QStringLiteral("ab  c"));
    EXPECT_EQ(expandTabs(QStringLiteral("abcd\tc"), {4, 8}), QStringLiteral("abcd    c"));
    EXPECT_EQ(expandTabs(QStringLiteral("a\t\tb"), {4, 8}), QStringLiteral("a       b"));
    EXPECT_EQ(expandTabs(QStringLiteral("abcdefghi\tz"), {4, 8}), QStringLiteral("abcdefghi z"));
    const QString row =
        diffReportLines({{QStringLiteral("Name"), QStringLiteral("A"), QStringLiteral("B"), true}})
            .front()
            .text;
    EXPECT_EQ(row, QStringLiteral("** Name") + QString(23, QLatin1Char(' ')) + QString(7, QLatin1Char(' ')) +
                       QStringLiteral("A") + QString(12, QLatin1Char(' ')) + QStringLiteral("B"));
}
