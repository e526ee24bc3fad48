#include "app/app_look.h"

#include "skin/bench_master.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace orba {

namespace {

double g_scale = 1.0;

const char *const kScaledProperty = "orbaLookScaled";

// Room in a title bar beside its text: the window's icon and its buttons.
constexpr int kTitleBarRoom = 150;

class DialogSizer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow())
                fit(dialog);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void fit(QDialog *dialog)
    {
        QFont titleFont = dialog->font();
        titleFont.setBold(true);
        const int titleWidth =
            QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + kTitleBarRoom;
        const QSize now = dialog->size();
        QSize want = now.expandedTo(dialog->minimumSizeHint()).expandedTo(QSize(titleWidth, 0));
        // A size the dialog chose for itself (lists, trees) was chosen for the platform's font: it
        // grows with the scale, once, within the screen.
        const bool fixed = dialog->minimumSize() == dialog->maximumSize();
        if (!fixed && dialog->testAttribute(Qt::WA_Resized) && !dialog->property(kScaledProperty).toBool()) {
            dialog->setProperty(kScaledProperty, true);
            want = want.expandedTo(now * g_scale);
            if (const QScreen *screen = dialog->screen())
                want = want.boundedTo(screen->availableGeometry().size());
        }
        if (want == now)
            return;
        const QPoint centre = dialog->geometry().center();
        if (fixed)
            dialog->setFixedSize(want); // a fixed size was chosen for the platform's font
        else
            dialog->resize(want);
        QRect frame = dialog->geometry();
        frame.moveCenter(centre);
        dialog->move(frame.topLeft());
    }
};

QColor skinColour(const tcBenchMaster *skin, const char *name, const QColor &fallback)
{
    QRgb value = 0;
    if (skin && skin->colour(name, &value))
        return QColor::fromRgb(qRed(value), qGreen(value), qBlue(value));
    return fallback;
}

} // namespace

LookColours lookColours(const tcBenchMaster *skin)
{
    LookColours c;
    c.window = skinColour(skin, "C_WINDOW", c.window);
    c.panel = skinColour(skin, "C_PANEL", c.panel);
    c.base = skinColour(skin, "C_WELL", c.base);
    c.alternate = skinColour(skin, "C_LIST_BG", c.alternate);
    c.button = skinColour(skin, "C_HILITE_BG", c.button);
    c.text = skinColour(skin, "C_TEXT", c.text);
    c.dim = skinColour(skin, "C_TEXT_DIM", c.dim);
    c.faint = skinColour(skin, "C_TEXT_FAINT", c.faint);
    c.highlight = skinColour(skin, "C_SELECT_INPUT", c.highlight);
    c.accent = skinColour(skin, "C_INPUT", c.accent);
    return c;
}

QPalette lookPalette(const LookColours &c)
{
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.alternate);
    p.setColor(QPalette::ToolTipBase, c.panel);
    p.setColor(QPalette::ToolTipText, c.text);
    p.setColor(QPalette::PlaceholderText, c.faint);
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, c.button.lighter(150));
    p.setColor(QPalette::Midlight, c.button.lighter(120));
    p.setColor(QPalette::Mid, c.panel);
    p.setColor(QPalette::Dark, c.base);
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, c.accent);
    p.setColor(QPalette::LinkVisited, c.accent.darker(120));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, c.faint);
    p.setColor(QPalette::Disabled, QPalette::Button, c.panel);
    p.setColor(QPalette::Disabled, QPalette::Base, c.window);
    p.setColor(QPalette::Disabled, QPalette::Highlight, c.button);
    return p;
}

QString lookStyleSheet(const LookColours &c)
{
    // Only what the palette cannot say: framed tooltips and menus against the dark window.
    return QStringLiteral(
               "QToolTip { color: %1; background-color: %2; border: 1px solid %3; padding: 2px; }\n"
               "QMenu { border: 1px solid %3; }\n"
               "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }\n")
        .arg(c.text.name(), c.panel.name(), c.button.lighter(140).name());
}

void applyLook(const tcBenchMaster *skin, double scale)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // The platform's own font, taken once, is what the scale multiplies.
    static const QFont platformFont = QApplication::font();
    static QPointer<DialogSizer> sizer;
    if (!sizer) {
        sizer = new DialogSizer(app);
        app->installEventFilter(sizer);
    }
    g_scale = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
    QFont font = platformFont;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(platformFont.pointSizeF() * g_scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, int(std::lround(platformFont.pixelSize() * g_scale))));
    QApplication::setFont(font);
    const LookColours colours = lookColours(skin);
    QApplication::setPalette(lookPalette(colours));
    app->setStyleSheet(lookStyleSheet(colours));
}

double lookScale()
{
    return g_scale;
}

} // namespace orba
