// The panels' object lists name the objects the default skin defines, with the kinds the panels
// work with.
#include "panels/object_lists.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QString>

namespace {

TEST(ObjectLists, NumbersAreUniqueWithinEachPanelAndNamesAcrossAll)
{
    QSet<QString> names;
    for (const ControlObjectDef *list :
         {orba::panels::kMainObjects, orba::panels::kSystemObjects, orba::panels::kCompressorObjects,
          orba::panels::kParametricObjects, orba::panels::kInputObjects, orba::panels::kAmHdObjects,
          orba::panels::kFMOutObjects, orba::panels::kAmTxObjects}) {
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

} // namespace
