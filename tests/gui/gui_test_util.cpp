#include "gui/gui_test_util.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWindow>

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
    host().show();
    QElapsedTimer clock;
    clock.start();
    while (!(host().windowHandle() && host().windowHandle()->isExposed()) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
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
