#include "app/debug_output.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace orba {

namespace {
QtMessageHandler g_previous = nullptr;
bool g_debugWanted = false;

void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!debugLineShown(type, g_debugWanted))
        return;
    if (g_previous)
        g_previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

bool debugLineShown(QtMsgType type, bool debugWanted)
{
    return debugWanted || (type != QtDebugMsg && type != QtInfoMsg);
}

void installDebugFilter()
{
    g_debugWanted = qEnvironmentVariable("ORBA_DEBUG") == QLatin1String("1");
    g_previous = qInstallMessageHandler(filter);
}

} // namespace orba
