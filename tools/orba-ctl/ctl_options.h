// orba-ctl's command line: the options, the command and its arguments, and the help texts of the
// program and of each command.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace orba::ctl {

constexpr int kDefaultTimeoutMs = 5000;

struct Options
{
    QString host;      // empty: 127.0.0.1 (or the device's address)
    uint16_t port = 0; // 0: orba::processorPort()
    QString device;    // empty: none
    bool passwordGiven = false;
    QString password;
    int timeoutMs = kDefaultTimeoutMs;
    bool timeoutGiven = false; // preset transfers wait this long, else their own 10 s
    bool json = false;
    int count = 1;                           // meters
    bool truncate = false;                   // events put
    bool sntpGiven = false, tzGiven = false; // clock set
    QString sntpServer, tzHours;
    QString pdf; // report: the PDF file to write

    QString command;
    QStringList arguments;

    QString help;  // not empty: print it and stop
    QString error; // not empty: the command line is wrong
};

constexpr int kExitOk = 0;
constexpr int kExitError = 2;

// Prints "orba-ctl: TEXT" on standard error and gives the error status.
int fail(const QString &text);

Options parseOptions(const QStringList &arguments); // without the program's name

QString usageText();
// The help of one command; empty for an unknown one.
QString commandHelp(const QString &command);
bool isCommand(const QString &command);

} // namespace orba::ctl
