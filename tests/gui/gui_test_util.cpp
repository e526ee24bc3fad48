#include "gui/gui_test_util.h"

#include "show_exposed.h"

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

} // namespace orba::test
