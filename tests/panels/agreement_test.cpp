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

} // namespace
