#include "app/help_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

tcHelpDlg::tcHelpDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tcHelpDlg"));
    setWindowTitle(QStringLiteral("ORBA Remote Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setHtml(page(findReadme()));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(buttons);
    resize(560, 520);
}

QString tcHelpDlg::findReadme()
{
    const QString here = QDir::current().absoluteFilePath(QStringLiteral("README.md"));
    if (QFileInfo(here).isFile())
        return here;
    // A build runs from build/bin below the sources.
    QDir dir(QCoreApplication::applicationDirPath());
    for (int up = 0; up < 3 && dir.cdUp(); ++up) {
        const QString candidate = dir.absoluteFilePath(QStringLiteral("README.md"));
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

QString tcHelpDlg::page(const QString &readme)
{
    QString html = QStringLiteral(
        "<h3>ORBA Remote</h3>"
        "<p>The window mirrors one ORBA processor. The buttons of the signal flow along the top "
        "choose the screen: input, parametric EQ, AGC / compressor, HD output, AM output, AM "
        "transmitter and system. The main graph, the meters, the presets and the connection stay on "
        "every screen. Every change is sent to the processor at once.</p>"
        "<p>Hover over a control to see the parameter it sets and its value. The right mouse button "
        "opens the menu (File, Hardware, Presets); drag the window by its top strip.</p>"
        "<h4>Mouse</h4>"
        "<table cellpadding='2'>"
        "<tr><td>Drag, wheel</td><td>turn a knob or move a slider; with Shift in coarse steps, "
        "with Ctrl in single steps</td></tr>"
        "<tr><td>Double click</td><td>a value display: type the value</td></tr>"
        "</table>"
        "<h4>Keys</h4>"
        "<table cellpadding='2'>"
        "<tr><td>Tab, Shift+Tab</td><td>move the focus through the controls of the screen</td></tr>"
        "<tr><td>Up, Right / Down, Left</td><td>step the focused knob, slider or choice; Shift "
        "coarse, Ctrl fine</td></tr>"
        "<tr><td>PgUp / PgDn</td><td>a coarse step</td></tr>"
        "<tr><td>Space, Enter</td><td>click the focused button or switch; on a knob, type its "
        "value</td></tr>"
        "<tr><td>Esc</td><td>drop the focus</td></tr>"
        "<tr><td>Ctrl+Z, Ctrl+Shift+Z</td><td>undo, redo your last edit</td></tr>"
        "<tr><td>Ctrl+S</td><td>save the live settings as a preset in the processor</td></tr>"
        "<tr><td>Ctrl+T</td><td>take a preset</td></tr>"
        "<tr><td>Ctrl+Q</td><td>exit</td></tr>"
        "<tr><td>F1</td><td>this page</td></tr>"
        "</table>");
    if (!readme.isEmpty())
        html += QStringLiteral("<p>The full guide: <a href='%1'>%2</a></p>")
                    .arg(QUrl::fromLocalFile(readme).toString(), readme.toHtmlEscaped());
    else
        html += QStringLiteral("<p>The full guide is README.md, beside the program's sources.</p>");
    return html;
}
