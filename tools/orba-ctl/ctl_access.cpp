#include "ctl_access.h"

#include "common/crc32.h"
#include "tables/globals_map.h"

#include <QRegularExpression>

#include <string_view>

namespace orba::ctl {

namespace {

constexpr int kNoFrontPanelPassword = 10000;
constexpr int kFrontPanelDisabled = 10001;

AccessPlan refused(const QString &error)
{
    AccessPlan p;
    p.error = error;
    return p;
}

bool digits(const QString &text, int most)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+$"));
    return text.size() <= most && pattern.match(text).hasMatch();
}

} // namespace

uint32_t textCrc(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return crc32(std::string_view(bytes.constData(), size_t(bytes.size())));
}

bool isAccessCommand(const QString &command)
{
    return command == QLatin1String("lock-code") || command == QLatin1String("login-password") ||
           command == QLatin1String("front-panel");
}

AccessPlan planAccess(const QString &command, const QStringList &arguments)
{
    AccessPlan p;
    if (command == QLatin1String("lock-code")) {
        if (arguments.size() != 1)
            return refused(QStringLiteral("lock-code: expects CODE or --clear (try lock-code --help)"));
        const QString &code = arguments[0];
        if (code == QLatin1String("--clear")) {
            p.globals.emplace_back(G_LOCAL_PW, 0);
            p.done = QStringLiteral("access code cleared");
        } else if (digits(code, 10)) {
            // The access dialog takes up to ten digits; "0" is a code like any other.
            p.globals.emplace_back(G_LOCAL_PW, int32_t(textCrc(code)));
            p.done = QStringLiteral("access code set");
        } else {
            return refused(QStringLiteral("lock-code: \"%1\" is not a code of 1 to 10 digits").arg(code));
        }
    } else if (command == QLatin1String("login-password")) {
        if (arguments.size() != 2)
            return refused(QStringLiteral("login-password: expects OLD NEW (try login-password --help)"));
        p.checkLogin = true;
        p.oldLoginCrc = textCrc(arguments[0]);
        p.globals.emplace_back(G_REMOTE_PW, int32_t(textCrc(arguments[1])));
        p.done = arguments[1].isEmpty() ? QStringLiteral("login password removed")
                                        : QStringLiteral("login password changed");
    } else if (command == QLatin1String("front-panel")) {
        if (arguments.size() != 1)
            return refused(QStringLiteral("front-panel: expects CODE, none or disabled (try front-panel --help)"));
        const QString &v = arguments[0];
        if (v == QLatin1String("none")) {
            p.globals.emplace_back(G_FP_PSWD, kNoFrontPanelPassword);
            p.done = QStringLiteral("front panel: no password required");
        } else if (v == QLatin1String("disabled")) {
            p.globals.emplace_back(G_FP_PSWD, kFrontPanelDisabled);
            p.done = QStringLiteral("front panel: disabled");
        } else if (digits(v, 4)) {
            p.globals.emplace_back(G_FP_PSWD, v.toInt());
            p.done = QStringLiteral("front panel: code %1").arg(v.toInt());
        } else {
            return refused(QStringLiteral("front-panel: \"%1\" is not a code of 1 to 4 digits, none or disabled").arg(v));
        }
    }
    return p;
}

} // namespace orba::ctl
