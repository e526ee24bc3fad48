// One orba-ctl run on a Session: connects, logs in, waits for the live values and a version
// round trip (the processor answers in order, so everything it pushed after the login is stored
// by then), runs the command and ends with the exit status. Owns the session.
#pragma once

#include "ctl_access.h"
#include "ctl_options.h"
#include "ctl_schedule.h"
#include "ctl_values.h"
#include "presets/preset_transfer.h"
#include "session/session.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace orba::ctl {

// One preset that diff or report works on: a slot (read from the processor) or a file (read
// before connecting).
struct PresetOperand
{
    int slot = -1; // 0-79, or -1 for a file
    QString path;
    std::shared_ptr<SETTINGS_MAP> set;
    PresetHeader header{};
};

// The values a get or set names, and what a preset command works on, checked before any
// connection is made.
struct CommandPlan
{
    std::vector<ValueRef> values;                          // get; empty: all
    std::vector<std::pair<ValueRef, ParsedValue>> changes; // set
    AccessPlan access;                                     // lock-code, login-password, front-panel
    SchedulePlan schedule;                                 // events, clock
    int slot = -1;                                         // preset commands: 0-79, or none
    QString path; // grab: the file made; push and take: the file read; backup, restore: the folder
    QString name; // save
    std::shared_ptr<SETTINGS_MAP> preset; // push and take of a file: the file's values
    PresetHeader header{};                // and its header
    std::vector<PresetOperand> operands;  // diff, report
    // A command of its own: runs on line and ends the run through finish (no deadline meanwhile).
    std::function<void(Session &session, const std::function<void(int)> &finish)> run;
};

// Finds the names and parses the values of get and set, the slots, names and files of the preset
// commands; false (after printing why) on the first one that is wrong.
bool planCommand(const Options &options, CommandPlan &plan);
bool planPresetCommand(const Options &options, CommandPlan &plan); // nothing for the other commands
// A rule's message on one line.
QString oneLine(const QString &text);
// diff and report on files only need no processor: the exit status, or -1 when one is needed.
int runWithoutProcessor(const Options &options, const CommandPlan &plan);

class CtlClient : public QObject
{
    Q_OBJECT
public:
    // Lines on standard output, as every command prints them.
    static void printLines(const QStringList &lines);
    CtlClient(const Options &options, CommandPlan plan, const SessionTarget &target,
              const QString &deviceName);
    ~CtlClient() override;

    int run();

private:
    enum class Phase { Connecting, Syncing, Confirming, Metering, Events, Clock, Transferring, Done };

    LoginAnswer answerLogin();
    void onState(LinkState state);
    void onLiveValues();
    void onVersion();
    void onMeters(const QByteArray &datagram);
    void onDeadline();
    void runCommand();
    void finish(int status);
    void failWith(const QString &text);
    void restartDeadline();
    QString processorText() const;
    QString timeoutText() const;

    void printStatus();
    void printValues(const std::vector<ValueRef> &values, bool raw);
    void startSet();
    void startAccess();
    void startSchedule();
    void onEvents();
    void confirmChanges();
    void printSlots();
    void printJson(const QJsonValue &value);

    // The preset commands (ctl_presets.cpp).
    bool isPresetCommand() const;
    void runPresetCommand();
    void grabCommand();
    void pushCommand();
    void takeCommand();
    void saveCommand();
    void backupCommand();
    void restoreCommand();
    void diffOrReportCommand();
    // Waits for a version answer (the processor answers in order, so what it does with what was
    // sent is stored by then), then prints the lines and ends.
    void confirmThenPrint(std::function<QStringList()> lines);
    void failTransfer(const TransferResult &result);
    QString slotText(int slot) const;

    Options m_options;
    CommandPlan m_plan;
    QString m_deviceName;
    std::unique_ptr<Session> m_session;
    QEventLoop m_loop;
    QTimer m_deadline;
    Phase m_phase = Phase::Connecting;
    bool m_reachedPending = false;
    bool m_reachedOnline = false;
    int m_loginPrompts = 0;
    int m_metersSeen = 0;
    QJsonArray m_meterFrames;
    EventLoopWait m_transferWait;
    std::unique_ptr<PresetTransfer> m_transfer;
    std::function<QStringList()> m_confirmedLines; // a preset command waits for its answer
};

} // namespace orba::ctl
