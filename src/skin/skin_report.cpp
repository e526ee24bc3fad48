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

} // namespace orba::skin
