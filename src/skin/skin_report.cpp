#include "skin/skin_report.h"

#include <QDebug>

#include <cstdio>

namespace orba::skin {

QString reportToDebug(const char *format, va_list args)
{
    char buffer[kReportBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    qDebug().noquote() << buffer;
    return QString::fromUtf8(buffer);
}

void keepReport(QStringList &lines, bool quiet, const char *format, va_list args)
{
    if (lines.size() >= kMaxReportLines)
        return;
    if (lines.size() == kMaxReportLines - 1) {
        const QString last = QStringLiteral("ERROR: Too many skin messages; the rest are dropped.");
        if (!quiet)
            qDebug().noquote() << last;
        lines << last;
        return;
    }
    if (quiet) {
        char buffer[kReportBufferSize];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        lines << QString::fromUtf8(buffer);
    } else {
        lines << reportToDebug(format, args);
    }
}

} // namespace orba::skin
