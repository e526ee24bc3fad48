// The display: shown width, marquee, states, painted pixels and the edit dialog.
#include "dialog_answer.h"
#include "gui/display_edit_dlg.h"
#include "gui/gui_display.h"
#include "gui/gui_test_util.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {

class DisplayTest : public GuiTest
{
protected:
    tcGuiDisplay *loadDisplay(const QByteArray &mode = "")
    {
        png(QStringLiteral("bg.png"), 200, 100, 1, {Qt::white});
        EXPECT_EQ(load("<image id=\"BKGRND\" file=\"bg.png\"/><display id=\"D\"><position x=\"20\" y=\"30\" "
                       "w=\"100\" h=\"20\"/>"
                       "<color fg=\"ff0000\" bg=\"0000ff\" fg_error=\"ffff00\" bg_error=\"00ff00\" "
                       "bg_warn=\"TRANSPARENT\"/>" +
                       mode + "</display>"),
                  0);
        auto *d = object<tcGuiDisplay>("D");
        d->setControlId(12);
        d->setCallbacks(&onText, &onNotify);
        showAll();
        return d;
    }
};

} // namespace

TEST_F(DisplayTest, ShowsExactlyItsWidthAndScrollsLongTexts)
{
    tcGuiDisplay *d = loadDisplay("<mode marquee=\"1\"/>");
    EXPECT_EQ(d->shownText(), QStringLiteral("        "));
    d->setCaption(QStringLiteral("-12.5 dB"));
    EXPECT_EQ(d->shownText(), QStringLiteral("-12.5 dB"));
    for (int i = 0; i < 6; ++i)
        d->tick();
    EXPECT_EQ(d->shownText(), QStringLiteral("-12.5 dB")) << "fits: no marquee";
    d->setCaption(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(d->shownText(), QStringLiteral("ABCDEFGH"));
    d->tick(); // countdown 0: advance
    EXPECT_EQ(d->shownText(), QStringLiteral("BCDEFGHI"));
    d->tick();
    EXPECT_EQ(d->shownText(), QStringLiteral("BCDEFGHI"));
    d->tick();
    EXPECT_EQ(d->shownText(), QStringLiteral("CDEFGHIJ")) << "one character every second tick";
    for (int i = 0; i < 2 * 17; ++i)
        d->tick();
    EXPECT_EQ(d->shownText(), QStringLiteral("T  ...  ")) << "wraps through the separator";
    for (int i = 0; i < 2 * 8; ++i)
        d->tick();
    EXPECT_EQ(d->shownText(), QStringLiteral("ABCDEFGH")) << "a whole cycle is caption + 7";
    d->setWidthChars(4);
    EXPECT_EQ(d->shownText(), QStringLiteral("ABCD"));
    d->setCaption(QStringLiteral("x"));
    EXPECT_EQ(d->shownText(), QStringLiteral("x   "));
}

TEST_F(DisplayTest, PaintsItsColourSetByState)
{
    tcGuiDisplay *d = loadDisplay();
    d->setCaption(QStringLiteral("8888"));
    QImage image = grab();
    EXPECT_EQ(image.pixelColor(21, 31), QColor(0, 0, 255));
    bool red = false;
    for (int x = 20; x < 120; ++x)
        for (int y = 30; y < 50; ++y)
            red |= qRed(image.pixel(x, y)) > 128;
    EXPECT_TRUE(red) << "text in the foreground colour";
    d->setState(tcGuiDisplay::kError);
    image = grab();
    EXPECT_EQ(image.pixelColor(21, 31), QColor(0, 255, 0));
    d->setState(tcGuiDisplay::kWarning);
    image = grab();
    EXPECT_EQ(image.pixelColor(21, 31), QColor(Qt::white)) << "transparent background is not painted";
    d->setState(tcGuiDisplay::kNormal);
    d->setDisabledState(2);
    image = grab();
    bool text = false;
    for (int x = 20; x < 120; ++x)
        for (int y = 30; y < 50; ++y)
            text |= image.pixelColor(x, y) != QColor(0, 0, 255);
    EXPECT_FALSE(text) << "the disabled look leaves out the text";
}

TEST_F(DisplayTest, DoubleClickEditsAndReports)
{
    tcGuiDisplay *d = loadDisplay("<mode editable=\"\" dclickable=\"1\" units=\"dB\"/>");
    QString typed;
    orba::test::DialogAnswer<tcDisplayEditDlg> answer([&](tcDisplayEditDlg &dialog) {
        dialog.lineEdit()->setText(typed);
        return typed == QLatin1String("cancel") ? QDialog::Rejected : QDialog::Accepted;
    });
    ASSERT_TRUE(d->acceptsDoubleClick());
    typed = QStringLiteral("-3.5");
    EXPECT_TRUE(bench().doubleClick(30, 35));
    EXPECT_EQ(calls, (QStringList{"text 12 -3.5", "notify 12"}));
    calls.clear();
    typed = QString();
    d->doubleClick(30, 35);
    EXPECT_EQ(calls, QStringList{"notify 12"}) << "an empty text is not reported";
    calls.clear();
    typed = QStringLiteral("cancel");
    d->doubleClick(30, 35);
    EXPECT_EQ(calls, QStringList{"notify 12"});
    calls.clear();
    bench().setAccessLevel(12, 2);
    d->doubleClick(30, 35);
    EXPECT_TRUE(calls.isEmpty()) << "locked";
}
