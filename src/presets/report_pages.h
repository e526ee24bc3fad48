// ReportPages: draws a report's lines on any paint device, one page after another, with the page
// header (title, centred heading, page number and a rule) at the top of every page. A printer or a
// PDF writer turns its own pages; any other device (an image, a test's recorder) is given a page
// turn. The printer dialog is the widgets' business (ReportPrinter); this part has none.
#pragma once

#include "presets/preset_report.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

namespace orba {

constexpr uint32_t REPORT_HEADING_ARGB = 0xFF0000FF;
constexpr uint32_t REPORT_SUBHEADING_ARGB = 0xFFFF9600;

// "Lucida Console", 8 points (a fixed-pitch face when that one is missing).
QFont reportFont();

class ReportPages
{
public:
    // Called to start the next page on a device that is not paged; false stops the report.
    using PageTurn = std::function<bool()>;

    ReportPages();
    ~ReportPages(); // ends the report
    ReportPages(const ReportPages &) = delete;
    ReportPages &operator=(const ReportPages &) = delete;

    void setPageTurn(PageTurn turn) { m_pageTurn = std::move(turn); }
    // Begins painting on the device (which outlives the report) and draws the first page header.
    bool begin(QPaintDevice *device, const QString &heading, const QString &title);
    void end();
    bool active() const { return m_active; }

    void setTextColor(uint32_t argb) { m_textColor = QColor::fromRgba(argb); }
    void line(const QString &text);
    void tabbedLine(const QString &text, const std::vector<int> &columns);
    // Each line in its own colour; the text colour is black again afterwards.
    void lines(const std::vector<ReportLine> &lines);

    int pageNumber() const { return m_page; }
    int lineHeight() const { return m_lineHeight; }
    int topMargin() const { return m_topMargin; }
    int leftMargin() const { return m_leftMargin; }
    int y() const { return m_y; }

private:
    void pageHeader();

    std::unique_ptr<QPainter> m_painter;
    QPaintDevice *m_device = nullptr;
    PageTurn m_pageTurn;
    QFont m_font;
    QString m_heading, m_title;
    QColor m_textColor = QColor::fromRgba(REPORT_TEXT_ARGB);
    bool m_active = false;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_pageHeight = 0, m_pageWidth = 0;
    int m_topMargin = 0;
    int m_leftMargin = 0;
    int m_page = 1;
};

// The lines as a PDF file (A4, written atomically): false when the file could not be written.
bool writeReportPdf(const QString &path, const QString &heading, const QString &title,
                    const std::vector<ReportLine> &lines, int *pages = nullptr);

} // namespace orba
