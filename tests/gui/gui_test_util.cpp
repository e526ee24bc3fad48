#include "gui/gui_test_util.h"

#include "show_exposed.h"

#include <QCoreApplication>
#include <QDir>

namespace orba::test {

QStringList GuiTest::calls;

void GuiTest::showAll()
{
    for (tcBenchObject *o : bench().objects()) {
        auto *g = static_cast<tcGuiObject *>(o);
        g->setHostWidget(&host());
        // Pictures are drawn by their users; only the background shows as a picture of its own.
        if (g->typeCode() != kGuiImage || g->id() == NameString("BKGRND"))
            g->setVisible(true);
    }
}

void GuiTest::showHost()
{
    ASSERT_TRUE(orba::test::showExposed(host()));
}

QString GuiTest::png(const QString &name, int w, int h, int sections, const QList<QColor> &colours)
{
    writePng(skinPath(name), w, h, sections, colours);
    return name;
}

QString GuiTest::indexedPng(const QString &name, int w, int h, int sections)
{
    writeIndexedPng(skinPath(name), w, h, sections);
    return name;
}

} // namespace orba::test
