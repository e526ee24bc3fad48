// The loader's message sink of the application: each message formatted into a 2048-character
// buffer and written to the debug output. The user never sees a skin message.
#pragma once

#include <QString>

#include <cstdarg>

namespace orba::skin {

constexpr int kReportBufferSize = 2048;

// Formats the message (cut at 2047 characters), writes it to the debug output and returns it.
QString reportToDebug(const char *format, va_list args);

} // namespace orba::skin
