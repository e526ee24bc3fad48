// ReportPrinter: one print job of a preset report. start() shows the platform's print dialog
// (through the dialog seam, so tests answer it); a user without a printer picks the PDF output
// there. The pages themselves are drawn by ReportPages.
#pragma once

#include "presets/report_pages.h"

#include <memory>

class QPrinter;
class QWidget;

namespace orba {

class ReportPrinter
{
public:
    ReportPrinter();
    ~ReportPrinter(); // ends the job
    ReportPrinter(const ReportPrinter &) = delete;
    ReportPrinter &operator=(const ReportPrinter &) = delete;

    // 0 when printing can go on (the dialog was accepted and the first page header drawn).
    int start(const QString &heading, const QString &title, QWidget *parent);
    void line(const QString &text) { m_pages.line(text); }
    void tabbedLine(const QString &text, const std::vector<int> &columns)
    {
        m_pages.tabbedLine(text, columns);
    }
    void lines(const std::vector<ReportLine> &lines) { m_pages.lines(lines); }
    void setTextColor(uint32_t argb) { m_pages.setTextColor(argb); }
    void end();

    bool active() const { return m_pages.active(); }
    int pageNumber() const { return m_pages.pageNumber(); }
    QPrinter *printer() const { return m_printer.get(); }

private:
    std::unique_ptr<QPrinter> m_printer;
    ReportPages m_pages;
};

// The "Print..." entry: the set's report under the title.
void printPresetReport(QWidget *parent, const SETTINGS_MAP &set, const QString &name);

} // namespace orba
