// The loader's message sink of the application: each message formatted into a 2048-character
// buffer and written to the debug output. The user never sees a skin message.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdarg>

namespace orba::skin {

constexpr int kReportBufferSize = 2048;

// A skin that repeats itself must not fill the memory or the debug output with its messages.
constexpr int kMaxReportLines = 2000;

// Formats the message (cut at 2047 characters), writes it to the debug output and returns it.
QString reportToDebug(const char *format, va_list args);

// Keeps the message in `lines` (and writes it to the debug output unless `quiet`) while fewer than
// kMaxReportLines are kept; the last kept line then says that the rest was dropped.
void keepReport(QStringList &lines, bool quiet, const char *format, va_list args);

} // namespace orba::skin
