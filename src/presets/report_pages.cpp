#include "presets/report_pages.h"

#include "common/atomic_file.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace orba {

QFont reportFont()
{
    QFont font(QStringLiteral("Lucida Console"), 8);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

ReportPages::ReportPages() = default;

ReportPages::~ReportPages()
{
    end();
}

bool ReportPages::begin(QPaintDevice *device, const QString &heading, const QString &title)
{
    end();
    if (!device)
        return false;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(device)) {
        m_painter.reset();
        return false;
    }
    m_device = device;
    m_heading = heading;
    m_title = title;
    m_font = QFont(reportFont(), device);
    m_painter->setFont(m_font);
    const QFontMetrics metrics(m_font, device);
    const int x = metrics.height();
    m_lineHeight = x + x / 10;
    m_pageHeight = device->height();
    m_pageWidth = device->width();
    m_topMargin = 3 * m_lineHeight;
    m_leftMargin = 5 * metrics.horizontalAdvance(QLatin1Char('X'));
    m_page = 1;
    m_textColor = QColor::fromRgba(REPORT_TEXT_ARGB);
    m_active = true;
    pageHeader();
    return true;
}

void ReportPages::end()
{
    if (m_painter)
        m_painter->end();
    m_painter.reset();
    m_device = nullptr;
    m_active = false;
}

void ReportPages::pageHeader()
{
    m_y = m_topMargin;
    QPainter &p = *m_painter;
    const QRect area(m_leftMargin, m_y, m_pageWidth - 2 * m_leftMargin, m_lineHeight);
    p.setPen(QColor::fromRgba(REPORT_HEADING_ARGB));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop, m_title);
    p.drawText(area, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Page %1").arg(m_page));
    p.setPen(QColor::fromRgba(REPORT_SUBHEADING_ARGB));
    p.drawText(area, Qt::AlignHCenter | Qt::AlignTop, m_heading);
    m_y += m_lineHeight;
    p.setPen(QColor::fromRgba(REPORT_HEADING_ARGB));
    p.drawLine(m_leftMargin, m_y, m_pageWidth - m_leftMargin, m_y);
    m_y += m_lineHeight;
}

void ReportPages::line(const QString &text)
{
    if (!m_active)
        return;
    if (m_y + m_topMargin >= m_pageHeight) {
        bool turned = false;
        if (auto *paged = dynamic_cast<QPagedPaintDevice *>(m_device))
            turned = paged->newPage();
        else if (m_pageTurn)
            turned = m_pageTurn();
        if (!turned) {
            end();
            return;
        }
        ++m_page;
        pageHeader();
    }
    m_painter->setPen(m_textColor);
    m_painter->drawText(QRect(m_leftMargin, m_y, m_pageWidth - 2 * m_leftMargin, m_lineHeight),
                        Qt::AlignLeft | Qt::AlignTop, text);
    m_y += m_lineHeight;
}

void ReportPages::tabbedLine(const QString &text, const std::vector<int> &columns)
{
    line(expandTabs(text, columns));
}

void ReportPages::lines(const std::vector<ReportLine> &lines)
{
    for (const ReportLine &l : lines) {
        setTextColor(l.argb);
        line(l.text);
    }
    setTextColor(REPORT_TEXT_ARGB);
}

bool writeReportPdf(const QString &path, const QString &heading, const QString &title,
                    const std::vector<ReportLine> &lines, int *pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(heading + QStringLiteral(" - ") + title);
        writer.setCreator(QStringLiteral("ORBA Remote"));
        ReportPages report;
        if (!report.begin(&writer, heading, title))
            return false;
        report.lines(lines);
        if (pages)
            *pages = report.pageNumber();
        report.end();
    }
    return writeFileAtomically(path, buffer.data());
}

} // namespace orba
