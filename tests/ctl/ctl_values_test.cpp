// Names, labels, wire values and value parsing of orba-ctl, without a processor.
#include "ctl_values.h"

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::ctl;

namespace {

ValueRef named(const char *name)
{
    const std::optional<ValueRef> ref = findValue(QString::fromLatin1(name));
    EXPECT_TRUE(ref.has_value()) << name;
    return ref.value_or(ValueRef{});
}

std::string text(const QString &s)
{
    return s.toStdString();
}

} // namespace

TEST(CtlValues, NamesMatchWithoutCaseOrSurroundingBlanks)
{
    const ValueRef gain = named("Input Line Gain");
    EXPECT_EQ(gain.kind, ValueRef::Setting);
    EXPECT_STREQ(settingName(gain.id), "Input Line Gain");
    EXPECT_EQ(findValue(QStringLiteral("input line gain")), gain);
    EXPECT_EQ(findValue(QStringLiteral("  INPUT LINE GAIN\t")), gain);
    // Global names are padded to eight characters in their table; the padding is no part of the name.
    const std::optional<ValueRef> delay = findValue(QStringLiteral(" delay "));
    ASSERT_TRUE(delay);
    EXPECT_EQ(*delay, (ValueRef{ValueRef::Global, G_DELAY}));
    EXPECT_EQ(valueName(*delay), QStringLiteral("DELAY"));
    EXPECT_EQ(findValue(QStringLiteral("remotepw")), (ValueRef{ValueRef::Global, G_REMOTE_PW}));
}

TEST(CtlValues, UnknownOrEmptyNamesAreNotFound)
{
    EXPECT_FALSE(findValue(QStringLiteral("Input Line")));
    EXPECT_FALSE(findValue(QStringLiteral("Input  Line Gain")));
    EXPECT_FALSE(findValue(QString()));
    EXPECT_FALSE(findValue(QStringLiteral("   ")));
    EXPECT_FALSE(findValue(QStringLiteral("???")));
    EXPECT_FALSE(findValue(QStringLiteral("????????")));
}

TEST(CtlValues, EveryNameFindsItsOwnValue)
{
    for (const ValueRef &ref : allValues())
        EXPECT_EQ(findValue(valueName(ref)), ref) << text(valueName(ref));
}

TEST(CtlValues, NumberTakesTheUnitItsStepShows)
{
    const ValueRef gain = named("Input Line Gain");
    const uint32_t index = parseValue(gain, QStringLiteral("-3")).raw;
    for (const char *t : {"-3 dB", "-3dB", " - 3 db ", "-3.0 DB", "- 3.0 dB"}) {
        const ParsedValue v = parseValue(gain, QString::fromLatin1(t));
        EXPECT_TRUE(v.ok) << t << ": " << text(v.error);
        EXPECT_EQ(v.raw, index) << t;
    }
    const ParsedValue wrongUnit = parseValue(gain, QStringLiteral("-3 kHz"));
    EXPECT_FALSE(wrongUnit.ok);
    EXPECT_TRUE(wrongUnit.error.contains(QStringLiteral("units"))) << text(wrongUnit.error);
}

TEST(CtlValues, NumbersOutsideTheRangeAreRefusedAndSaySo)
{
    const ValueRef gain = named("Input Line Gain");
    SETTINGS_MAP live;
    const MAP_FLOAT *h = live.floatHolder(gain.id);
    for (const double v : {double(h->maximum()) + 0.5, double(h->minimum()) - 0.5, 1e30, -1e30}) {
        const ParsedValue p = parseValue(gain, QString::number(v));
        EXPECT_FALSE(p.ok) << v;
        EXPECT_TRUE(p.error.contains(QStringLiteral("out of range"))) << text(p.error);
        EXPECT_TRUE(p.error.contains(QStringLiteral("Input Line Gain"))) << text(p.error);
    }
    EXPECT_TRUE(parseValue(gain, QString::number(double(h->maximum()))).ok);
    EXPECT_TRUE(parseValue(gain, QString::number(double(h->minimum()))).ok);
}

TEST(CtlValues, TextsThatAreNoValueAreRefused)
{
    const ValueRef gain = named("Input Line Gain");
    for (const char *t :
         {"", " ", "abc", "nan", "inf", "-inf", "5,3", "5.3.1", "1e999", "0x10", "--3", "5 3"}) {
        const ParsedValue v = parseValue(gain, QString::fromLatin1(t));
        EXPECT_FALSE(v.ok) << '"' << t << '"';
        EXPECT_FALSE(v.error.isEmpty()) << t;
    }
}

// What get prints, set takes back: every label of every parameter names a step with that label.
TEST(CtlValues, EveryLabelOfEveryParameterReadsBack)
{
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const ValueRef ref{ValueRef::Setting, settingIdAt(i)};
        for (uint32_t raw = live.getRawMin(ref.id); raw <= live.getRawMax(ref.id); ++raw) {
            live.setIndex(ref.id, raw, CHANGE_LOCAL);
            const QString label = valueLabel(ref, live, globals);
            const ParsedValue v = parseValue(ref, label);
            ASSERT_TRUE(v.ok) << settingName(ref.id) << " \"" << text(label) << "\": " << text(v.error);
            SETTINGS_MAP other;
            other.setIndex(ref.id, v.raw, CHANGE_LOCAL);
            EXPECT_EQ(valueLabel(ref, other, globals), label) << settingName(ref.id);
        }
    }
}

TEST(CtlValues, ChoicesTakeTheirLabelOrNumber)
{
    const ValueRef source = named("Input Source");
    SETTINGS_MAP live;
    const MAP_INT *h = live.intHolder(source.id);
    ASSERT_NE(h, nullptr);
    ASSERT_NE(h->labels(), nullptr);
    const ParsedValue byLabel = parseValue(source, QStringLiteral(" aes "));
    ASSERT_TRUE(byLabel.ok) << text(byLabel.error);
    EXPECT_EQ(QByteArray(h->labels()[byLabel.raw]).trimmed(), "AES");
    EXPECT_EQ(parseValue(source, QString::number(byLabel.raw)).raw, byLabel.raw);
    const ParsedValue beyond = parseValue(source, QString::number(h->maximum() + 1));
    EXPECT_FALSE(beyond.ok);
    EXPECT_TRUE(beyond.error.contains(QStringLiteral("AES"))) << text(beyond.error); // lists the choices
}

TEST(CtlValues, SwitchesTakeInOutAndTheUsualWords)
{
    const ValueRef sym = named("Input Symmetry");
    ASSERT_EQ(settingType(sym.id), SETTING_BOOL);
    for (const char *t : {"In", "on", "YES", "true", "1", "y"})
        EXPECT_EQ(parseValue(sym, QString::fromLatin1(t)).raw, 1u) << t;
    for (const char *t : {"out", "OFF", "no", "false", "0", "N"}) {
        const ParsedValue v = parseValue(sym, QString::fromLatin1(t));
        EXPECT_TRUE(v.ok) << t;
        EXPECT_EQ(v.raw, 0u) << t;
    }
    EXPECT_FALSE(parseValue(sym, QStringLiteral("2")).ok);
    EXPECT_FALSE(parseValue(sym, QStringLiteral("maybe")).ok);
}

TEST(CtlValues, GlobalsTakeValuesInTheUnitsTheirLabelsShow)
{
    const ValueRef delay{ValueRef::Global, G_DELAY};
    EXPECT_EQ(parseValue(delay, QStringLiteral("12.3")).global, 123);
    EXPECT_EQ(parseValue(delay, QStringLiteral("12.3mS")).global, 123);
    EXPECT_EQ(parseValue(delay, QStringLiteral("10000")).global, 100000);
    EXPECT_EQ(parseValue(delay, QStringLiteral("10.0000S")).global, 100000);
    EXPECT_EQ(parseValue(delay, QStringLiteral("0.5 s")).global, 5000);
    const ParsedValue off = parseValue(delay, QStringLiteral("OFF"));
    EXPECT_TRUE(off.ok);
    EXPECT_EQ(off.global, 0);
    EXPECT_TRUE(parseValue(delay, QStringLiteral("10000.1")).error.contains(QStringLiteral("out of range")));
    EXPECT_FALSE(parseValue(delay, QStringLiteral("-1")).ok);
    EXPECT_FALSE(parseValue(delay, QStringLiteral("12 s")).ok);
    EXPECT_FALSE(parseValue(delay, QStringLiteral("12 Hz")).ok);

    const ValueRef freq{ValueRef::Global, G_AM_FREQ};
    const ParsedValue khz = parseValue(freq, QStringLiteral("1.0 kHz"));
    ASSERT_TRUE(khz.ok) << text(khz.error);
    EXPECT_EQ(globalLabel(G_AM_FREQ, khz.global), " 1.0 kHz");
    EXPECT_FALSE(parseValue(freq, QStringLiteral("1.1 kHz")).ok);

    const ValueRef level{ValueRef::Global, G_AM_LEVEL};
    EXPECT_EQ(parseValue(level, QStringLiteral("40%")).global, 40);
    EXPECT_EQ(parseValue(level, QStringLiteral("40")).global, 40);
    EXPECT_FALSE(parseValue(level, QStringLiteral("101")).ok);

    const ValueRef follow{ValueRef::Global, G_S_FOLLOW};
    EXPECT_EQ(parseValue(follow, QStringLiteral("Y")).global, 1);
    EXPECT_EQ(parseValue(follow, QStringLiteral("n")).global, 0);

    const ValueRef source{ValueRef::Global, G_HDPN_SRC};
    EXPECT_EQ(parseValue(source, QStringLiteral("-7")).global, -7);
    EXPECT_FALSE(parseValue(source, QStringLiteral("1.5")).ok);
    EXPECT_FALSE(parseValue(source, QStringLiteral("3000000000")).ok);
}

TEST(CtlValues, EveryLabelOfEveryGlobalWithLabelsReadsBack)
{
    GLOBALS_MAP globals;
    SETTINGS_MAP live;
    const std::pair<uint16_t, std::vector<int32_t>> cases[] = {
        {G_DELAY, {0, 1, 123, 99999, 100000}},
        {G_AM_FREQ, {0, 5, 10, 20}},
        {G_AM_LEVEL, {0, 25, 100}},
        {G_S_FOLLOW, {0, 1}},
        {G_AM_TEST, {0, 1}},
        {G_HDPN_LEV, {0, 50, -3}},
    };
    for (const auto &[id, values] : cases) {
        const ValueRef ref{ValueRef::Global, id};
        for (const int32_t value : values) {
            globals.set(id, value, CHANGE_LOCAL);
            const QString label = valueLabel(ref, live, globals);
            const ParsedValue v = parseValue(ref, label);
            ASSERT_TRUE(v.ok) << globalName(id) << " \"" << text(label) << "\": " << text(v.error);
            EXPECT_EQ(v.global, globals.get(id)) << globalName(id);
        }
    }
}

TEST(CtlValues, RawIsWhatTheLinkCarries)
{
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    const ValueRef gain = named("Input Line Gain");
    live.setFloat(gain.id, -3.0f, CHANGE_LOCAL);
    EXPECT_EQ(valueRaw(gain, live, globals), QStringLiteral("-3"));
    // Every float prints as the shortest text that reads back to the very same float.
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const uint16_t id = settingIdAt(i);
        if (settingType(id) != SETTING_FLOAT)
            continue;
        for (uint32_t raw = live.getRawMin(id); raw <= live.getRawMax(id); ++raw) {
            live.setIndex(id, raw, CHANGE_LOCAL);
            const QString t = valueRaw({ValueRef::Setting, id}, live, globals);
            EXPECT_EQ(t.toFloat(), live.getFloat(id)) << settingName(id) << ' ' << text(t);
        }
    }
    const ValueRef source = named("Input Source");
    live.setInt(source.id, 1, CHANGE_LOCAL);
    EXPECT_EQ(valueRaw(source, live, globals), QStringLiteral("1"));
    const ValueRef sym = named("Input Symmetry");
    live.setBool(sym.id, true, CHANGE_LOCAL);
    EXPECT_EQ(valueRaw(sym, live, globals), QStringLiteral("1"));
    globals.set(G_REMOTE_PW, -123456, CHANGE_LOCAL);
    EXPECT_EQ(valueRaw({ValueRef::Global, G_REMOTE_PW}, live, globals), QStringLiteral("-123456"));
}
