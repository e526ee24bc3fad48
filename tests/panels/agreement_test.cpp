// The panels' object lists and the default skin agree: every name the generator lays out for a
// screen is in that screen's panel list, in the same order, and the built skin gives the complete
// panels every object with the kind they work with.
#include "gui/gui_object.h"
#include "orba-skingen/default_skin_objects.h"
#include "panel_fixture.h"
#include "panels/cg_input.h"
#include "panels/cg_main.h"
#include "panels/cg_system.h"
#include "panels/object_lists.h"
#include "skin/skin_pack.h"

#include <QDir>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

#include <map>

using namespace orba::test;
namespace gen = orba::skingen;

namespace {

const std::map<int, const ControlObjectDef *> kListOfScreen = {
    {gen::kMain, orba::panels::kMainObjects},
    {gen::kSystem, orba::panels::kSystemObjects},
    {gen::kCompressor, orba::panels::kCompressorObjects},
    {gen::kParametric, orba::panels::kParametricObjects},
    {gen::kInput, orba::panels::kInputObjects},
    {gen::kAmHd, orba::panels::kAmHdObjects},
    {gen::kAmOut, orba::panels::kFMOutObjects},
    {gen::kAmTx, orba::panels::kAmTxObjects},
};

TEST(ObjectLists, NumbersAreUniqueWithinEachPanelAndNamesAcrossAll)
{
    QSet<QString> names;
    for (const auto &[screen, list] : kListOfScreen) {
        QSet<uint32_t> numbers;
        for (const ControlObjectDef *d = list; d->number != 0; ++d) {
            EXPECT_FALSE(numbers.contains(d->number)) << d->name;
            numbers.insert(d->number);
            const QString name = QString::fromLatin1(d->name);
            EXPECT_FALSE(names.contains(name)) << d->name;
            names.insert(name);
        }
    }
    EXPECT_EQ(names.size(), 37 + 15 + 36 + 34 + 22 + 32 + 45 + 37);
}

TEST(ObjectLists, EveryScreenNamesWhatTheDefaultSkinGeneratorLaysOut)
{
    for (const auto &[screen, list] : kListOfScreen) {
        QStringList fromGenerator, fromPanel;
        for (const gen::BoundObject &o : gen::kBoundObjects) {
            if (o.screen == screen)
                fromGenerator << QString::fromLatin1(o.name);
        }
        for (const ControlObjectDef *d = list; d->number != 0; ++d)
            fromPanel << QString::fromLatin1(d->name);
        EXPECT_EQ(fromPanel, fromGenerator) << "screen " << screen;
    }
}

class DefaultSkinPanels : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        const QString packed = QDir(binDir()).filePath(QStringLiteral("../skins/default.skin"));
        ASSERT_TRUE(QFileInfo::exists(packed));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("default"))));
        ASSERT_EQ(orba::skin::unpackSkinFile(packed, path(QStringLiteral("default"))).status,
                  orba::skin::UnpackStatus::Ok);
        ASSERT_EQ(loadSkinFolder(path(QStringLiteral("default"))), 0);
    }
};

TEST_F(DefaultSkinPanels, EveryEntryOfEveryPanelFindsItsObjectWithTheGeneratorsKind)
{
    std::map<QString, int> kinds;
    for (const gen::BoundObject &o : gen::kBoundObjects)
        kinds[QString::fromLatin1(o.name)] = o.kind;
    for (const tcControlGroup *panel : bench().panels()) {
        for (const tcControlGroup::Entry &e : panel->entries()) {
            const QString name = e.name.toQString();
            ASSERT_NE(e.object, nullptr) << name.toStdString();
            EXPECT_EQ(e.object->typeCode(), kinds[name]) << name.toStdString();
            EXPECT_EQ(e.object->controlId(), int(e.number)) << name.toStdString();
        }
    }
}

TEST_F(DefaultSkinPanels, TheCompletePanelsFindEveryObjectAsTheKindTheyUse)
{
    const struct
    {
        int kind;
        std::initializer_list<int> numbers;
    } main[] =
        {
            {kGuiButton,
             {1001, 1002, 1003, 1014, 1016, 1018, 1020, 1021, 1022, 1023, 1025, 1027, 1031, 1032, 1033, 1034,
              1036, 1037, 1038}},
            {kGuiDisplay, {1004, 1005, 1006}},
            {kGuiCheckBox, {1009, 1024, 1035, 1039, 1040, 1041, 1042}},
            {kGuiMeter, {1010, 1011, 1012, 1013}},
            {kGuiApGraph, {1007}},
            {kGuiKnob, {1043}},
            {kGuiCombo, {1044, 1045}},
        },
      system[] =
          {
              {kGuiCheckBox, {9002, 9014}},
              {kGuiButton, {9003, 9004, 9005, 9006, 9007, 9008, 9009}},
              {kGuiCombo, {9010}},
              {kGuiLamp, {9011, 9012, 9013}},
          },
      input[] = {
          {kGuiRadioGroup, {2004}},
          {kGuiRadioItem, {2005, 2008}},
          {kGuiKnob, {2009, 2013, 2019, 2028, 2030}},
          {kGuiDisplay, {2012, 2018, 2020, 2029, 2031}},
          {kGuiCheckBox, {2025, 2026, 2027, 2032, 2037}},
          {kGuiLamp, {2038, 2039}},
      };
    auto check = [](const tcControlGroup *panel, const auto &table) {
        for (const auto &row : table) {
            for (int n : row.numbers) {
                const tcGuiObject *o = panel->findObject(n);
                ASSERT_NE(o, nullptr) << n;
                EXPECT_EQ(o->typeCode(), row.kind) << n;
            }
        }
    };
    check(bench().mainPanel(), main);
    check(bench().systemPanel(), system);
    check(bench().inputPanel(), input);
}

} // namespace
