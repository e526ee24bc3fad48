// GUI object tests: skins with the GUI vocabulary on a plain bench and host; callbacks in order.
#pragma once

#include "gui/gui_object.h"
#include "gui/skin_elements.h"
#include "skin/skin_test_util.h"

#include <QStringList>

namespace orba::test {

class GuiTest : public SkinTest
{
protected:
    int load(const QByteArray &body) { return loadSkin(body, false, &guiSkinVocabulary()); }
    // Shows every object and gives it the host widget, as the application's panels do.
    void showAll();
    // Shows the host window and waits until it is exposed, so direct repaints reach it.
    void showHost();
    template <class T> T *object(const char *id)
    {
        return static_cast<T *>(tcGuiObject::find(&bench(), NameString(id)));
    }
    void png(const QString &name, int w, int h, int sections, const QList<QColor> &colours)
    {
        writePng(skinPath(name), w, h, sections, colours);
    }
    void indexedPng(const QString &name, int w, int h, int sections)
    {
        writeIndexedPng(skinPath(name), w, h, sections);
    }

    // Callback recorders: each call appends "name id value...".
    static QStringList calls;
    static void onInt(void *, int id, int v) { calls << QStringLiteral("int %1 %2").arg(id).arg(v); }
    static void onBool(void *, int id, bool v) { calls << QStringLiteral("bool %1 %2").arg(id).arg(int(v)); }
    static void onNotify(void *, int id) { calls << QStringLiteral("notify %1").arg(id); }
    static void onText(void *, int id, const char *t)
    {
        calls << QStringLiteral("text %1 %2").arg(id).arg(t);
    }
    static void onPress(void *, int id, int v) { calls << QStringLiteral("press %1 %2").arg(id).arg(v); }
    static void onToggle(void *, int id, int i, bool s)
    {
        calls << QStringLiteral("toggle %1 %2 %3").arg(id).arg(i).arg(int(s));
    }

    void SetUp() override
    {
        SkinTest::SetUp();
        calls.clear();
    }
};

} // namespace orba::test
