#include "presets/dialogs/report_printer.h"

#include "gui/dialog_run.h"

#include <QPrintDialog>
#include <QPrinter>

namespace orba {

ReportPrinter::ReportPrinter() = default;

ReportPrinter::~ReportPrinter()
{
    end();
}

int ReportPrinter::start(const QString &heading, const QString &title, QWidget *parent)
{
    end();
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setCopyCount(1);
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (runDialog(&dialog) != QDialog::Accepted) {
        m_printer.reset();
        return -1;
    }
    m_printer->setDocName(heading + QStringLiteral(" - ") + title);
    if (!m_pages.begin(m_printer.get(), heading, title)) {
        m_printer.reset();
        return -1;
    }
    return 0;
}

void ReportPrinter::end()
{
    m_pages.end();
    m_printer.reset();
}

void printPresetReport(QWidget *parent, const SETTINGS_MAP &set, const QString &name)
{
    ReportPrinter printer;
    if (printer.start(reportHeading(), name, parent) != 0)
        return;
    printer.lines(presetReportLines(set));
    printer.end();
}

} // namespace orba
