// orba-ctl firmware: the image's header checked and shown, the user's confirmation (unless --yes),
// then the download on the session with a progress bar on standard error. The exit status is 0
// only once the processor has reported the image written.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace orba {
class Session;
}

namespace orba::ctl {

extern const char kFirmwareHelp[];

struct FirmwareCommand
{
    QString path;
    bool yes = false;
};

// The command's own arguments ([--yes] FILE); an empty text when they are right, else why not.
QString parseFirmwareArguments(const QStringList &arguments, FirmwareCommand &command);

// Checks the file and asks (on standard error, answered on standard input) unless --yes; false
// after printing why when nothing may be sent.
bool prepareFirmware(const FirmwareCommand &command);

// Runs the download on a session that is on line; finish gets the exit status.
void runFirmware(Session &session, const QString &path, const std::function<void(int)> &finish);

// A text progress bar: "[#####     ]  50%".
QString progressBar(int percent, int width = 40);

} // namespace orba::ctl
