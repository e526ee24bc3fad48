#include "ctl_client.h"

#include "common/crc32.h"
#include "link/meter.h"
#include "ctl_report.h"
#include "common/whole_file.h"
#include "link/records.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string_view>

namespace orba::ctl {

namespace {

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

bool planCommand(const Options &options, CommandPlan &plan)
{
    if (!planPresetCommand(options, plan))
        return false;
    if (options.command == QLatin1String("get")) {
        for (const QString &name : options.arguments) {
            const std::optional<ValueRef> ref = findValue(name);
            if (!ref) {
                fail(QStringLiteral("unknown name \"%1\"").arg(name));
                return false;
            }
            plan.values.push_back(*ref);
        }
    } else if (options.command == QLatin1String("set")) {
        for (const QString &pair : options.arguments) {
            const int equals = pair.indexOf(QLatin1Char('='));
            const QString name = pair.left(equals);
            const std::optional<ValueRef> ref = findValue(name);
            if (!ref) {
                fail(QStringLiteral("unknown name \"%1\"").arg(name));
                return false;
            }
            const ParsedValue value = parseValue(*ref, pair.mid(equals + 1));
            if (!value.ok) {
                fail(value.error);
                return false;
            }
            plan.changes.emplace_back(*ref, value);
        }
    } else if (options.command == QLatin1String("events") || options.command == QLatin1String("clock")) {
        QByteArray input;
        if (options.arguments.value(1) == QLatin1String("-") && options.command == QLatin1String("events")) {
            QFile in;
            if (in.open(stdin, QIODevice::ReadOnly))
                input = in.read(kLongestEventsFile + 1);
            if (input.size() > kLongestEventsFile) {
                fail(QStringLiteral("events put: standard input is larger than %1").arg(sizeText(kLongestEventsFile)));
                return false;
            }
        }
        plan.schedule = planSchedule(options, input);
        if (!plan.schedule.error.isEmpty()) {
            fail(plan.schedule.error);
            return false;
        }
    } else if (isAccessCommand(options.command)) {
        plan.access = planAccess(options.command, options.arguments);
        if (!plan.access.error.isEmpty()) {
            fail(plan.access.error);
            return false;
        }
    }
    return true;
}

CtlClient::CtlClient(const Options &options, CommandPlan plan, const SessionTarget &target,
                     const QString &deviceName)
    : m_options(options), m_plan(std::move(plan)), m_deviceName(deviceName)
{
    SessionOptions sessionOptions;
    sessionOptions.processorPort = options.port;
    m_session = std::make_unique<Session>(sessionOptions);
    // Standard output is the command's data alone.
    m_session->meters().setQuiet(true);
    m_session->setTarget(target);
    m_session->setLoginPrompt([this] { return answerLogin(); });
    connect(m_session.get(), &Session::stateChanged, this, &CtlClient::onState);
    connect(m_session.get(), &Session::liveValuesComplete, this, &CtlClient::onLiveValues);
    connect(m_session.get(), &Session::sig_recv_version, this, &CtlClient::onVersion);
    connect(m_session.get(), &Session::metersArrived, this, &CtlClient::onMeters);
    connect(m_session.get(), &Session::sig_new_events, this, &CtlClient::onEvents);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &CtlClient::onDeadline);
    m_transfer = std::make_unique<PresetTransfer>(*m_session, m_transferWait);
    if (options.timeoutGiven)
        m_transfer->setTimeoutMs(options.timeoutMs);
}

CtlClient::~CtlClient()
{
    m_transfer.reset(); // before the session it works on
}

int CtlClient::run()
{
    restartDeadline();
    m_session->set_online(true);
    return m_loop.exec();
}

void CtlClient::restartDeadline()
{
    m_deadline.start(m_options.timeoutMs);
}

QString CtlClient::processorText() const
{
    return QStringLiteral("%1:%2").arg(m_session->target().address).arg(m_session->options().processorPort);
}

QString CtlClient::timeoutText() const
{
    return QStringLiteral("within %1 s").arg(double(m_options.timeoutMs) / 1000.0);
}

void CtlClient::finish(int status)
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Done;
    m_deadline.stop();
    m_loop.exit(status);
}

void CtlClient::failWith(const QString &text)
{
    if (m_phase == Phase::Done)
        return;
    fail(text);
    finish(kExitError);
}

LoginAnswer CtlClient::answerLogin()
{
    // The password is tried once; asked again, it was wrong.
    ++m_loginPrompts;
    if (m_loginPrompts == 1 && m_options.passwordGiven)
        return LoginAnswer{true, textCrc(m_options.password)};
    // Changing the login password, the old one opens the door.
    if (m_loginPrompts == 1 && m_plan.access.checkLogin)
        return LoginAnswer{true, m_plan.access.oldLoginCrc};
    failWith(m_options.passwordGiven || m_plan.access.checkLogin
                 ? QStringLiteral("%1 refused the password").arg(processorText())
                 : QStringLiteral("%1 asks for a password (give --password)").arg(processorText()));
    return LoginAnswer{};
}

void CtlClient::onState(LinkState state)
{
    if (state == LinkState::Pending)
        m_reachedPending = true;
    if (state == LinkState::Online)
        m_reachedOnline = true;
    // A transfer under way ends on its own and says which preset it was at.
    if (state == LinkState::Offline && m_reachedPending && m_phase != Phase::Transferring)
        failWith(QStringLiteral("the link to %1 ended (%2)").arg(processorText(), m_session->statusText()));
}

void CtlClient::onLiveValues()
{
    if (m_phase != Phase::Connecting || m_session->state() != LinkState::Online)
        return;
    m_phase = Phase::Syncing;
    m_session->link().request_version();
}

void CtlClient::onVersion()
{
    // Every link report also says the version is gone; only an answer on line counts.
    if (m_session->state() != LinkState::Online)
        return;
    if (m_phase == Phase::Syncing) {
        runCommand();
    } else if (m_phase == Phase::Confirming && m_confirmedLines) {
        printLines(m_confirmedLines());
        finish(kExitOk);
    } else if (m_phase == Phase::Confirming) {
        std::vector<ValueRef> values;
        for (const auto &change : m_plan.changes)
            values.push_back(change.first);
        printValues(values, false);
        finish(kExitOk);
    }
}

void CtlClient::onMeters(const QByteArray &datagram)
{
    if (m_phase == Phase::Clock && datagram.size() == int(METER_SIZE)) {
        printLines({clockLine(m_session->clock())});
        finish(kExitOk);
        return;
    }
    if (m_phase != Phase::Metering || datagram.size() != int(METER_SIZE))
        return;
    const MainLevels levels = mainLevels(reinterpret_cast<const uint8_t *>(datagram.constData()));
    if (m_options.json)
        m_meterFrames.append(meterJson(levels));
    else
        printLines({meterLine(levels)});
    if (++m_metersSeen < m_options.count) {
        restartDeadline();
        return;
    }
    if (m_options.json)
        printJson(m_meterFrames);
    finish(kExitOk);
}

void CtlClient::onDeadline()
{
    const QString where = processorText();
    switch (m_phase) {
    case Phase::Connecting:
        if (!m_reachedPending)
            failWith(QStringLiteral("cannot reach %1: no connection %2").arg(where, timeoutText()));
        else if (!m_reachedOnline)
            failWith(QStringLiteral("%1 did not answer the login %2").arg(where, timeoutText()));
        else
            failWith(QStringLiteral("%1 did not send its live values %2").arg(where, timeoutText()));
        break;
    case Phase::Syncing:
        failWith(QStringLiteral("%1 did not answer the version request %2").arg(where, timeoutText()));
        break;
    case Phase::Confirming:
        failWith(QStringLiteral("%1 did not confirm the values %2").arg(where, timeoutText()));
        break;
    case Phase::Metering:
    case Phase::Clock:
        failWith(QStringLiteral("no meter frames from %1 %2").arg(where, timeoutText()));
        break;
    case Phase::Events:
        failWith(QStringLiteral("%1 did not send its schedule %2").arg(where, timeoutText()));
        break;
    case Phase::Transferring: // the transfer has a time-out of its own
    case Phase::Done:
        break;
    }
}

void CtlClient::runCommand()
{
    const QString &c = m_options.command;
    if (isPresetCommand()) {
        runPresetCommand();
        return;
    }
    if (m_plan.run) {
        m_deadline.stop();
        m_plan.run(*m_session, [this](int status) { finish(status); });
        return;
    }
    if (c == QLatin1String("status")) {
        printStatus();
    } else if (c == QLatin1String("get")) {
        printValues(m_plan.values.empty() ? allValues() : m_plan.values, false);
    } else if (c == QLatin1String("dump")) {
        printValues(allValues(), true);
    } else if (c == QLatin1String("slots")) {
        printSlots();
    } else if (c == QLatin1String("set")) {
        startSet();
        return;
    } else if (isAccessCommand(c)) {
        startAccess();
        return;
    } else if (c == QLatin1String("events") || c == QLatin1String("clock")) {
        startSchedule();
        return;
    } else if (c == QLatin1String("meters")) {
        m_phase = Phase::Metering;
        restartDeadline();
        return;
    }
    finish(kExitOk);
}

void CtlClient::printStatus()
{
    StatusReport status;
    status.link = m_session->statusText();
    status.processor = processorText();
    status.device = m_deviceName;
    status.version = m_session->version();
    status.preset = QString::fromLatin1(QByteArray::fromStdString(m_session->currentPreset().nameText()));
    if (m_options.json)
        printJson(statusJson(status));
    else
        printLines(statusLines(status));
}

void CtlClient::printValues(const std::vector<ValueRef> &values, bool raw)
{
    const SETTINGS_MAP &live = m_session->live();
    const GLOBALS_MAP &globals = m_session->globals();
    QStringList lines;
    QJsonArray array;
    for (const ValueRef &ref : values) {
        const QString name = valueName(ref);
        const QString label = valueLabel(ref, live, globals);
        const QString rawText = raw ? valueRaw(ref, live, globals) : QString();
        if (!m_options.json) {
            lines << (raw ? name + QLatin1Char('\t') + label + QLatin1Char('\t') + rawText
                          : name + QLatin1Char('\t') + label);
            continue;
        }
        QJsonObject o{{QStringLiteral("name"), name}, {QStringLiteral("label"), label}};
        if (raw) {
            o.insert(QStringLiteral("raw"), rawText.toDouble());
            if (ref.kind == ValueRef::Setting && settingType(ref.id) == SETTING_FLOAT)
                o.insert(QStringLiteral("index"), double(live.getRaw(ref.id)));
        }
        array.append(o);
    }
    if (m_options.json)
        printJson(array);
    else
        printLines(lines);
}

void CtlClient::startSet()
{
    for (const auto &change : m_plan.changes)
        applyValue(change.first, change.second, m_session->live(), m_session->globals());
    confirmChanges();
}

void CtlClient::startAccess()
{
    const AccessPlan &a = m_plan.access;
    if (a.checkLogin && uint32_t(m_session->globals().get(G_REMOTE_PW)) != a.oldLoginCrc) {
        failWith(QStringLiteral("Incorrect current password."));
        return;
    }
    for (const auto &[id, value] : a.globals)
        m_session->globals().set(id, value, CHANGE_USER);
    m_confirmedLines = [line = a.done] { return QStringList{line}; };
    confirmChanges();
}

void CtlClient::startSchedule()
{
    const SchedulePlan &s = m_plan.schedule;
    restartDeadline();
    switch (s.action) {
    case SchedulePlan::GetEvents:
        m_phase = Phase::Events;
        m_session->link().request_events();
        return;
    case SchedulePlan::GetClock:
        m_phase = Phase::Clock;
        return;
    case SchedulePlan::PutEvents:
        for (const EventPacket &p : schedulePackets(s.events))
            m_session->link().send_events(p.block, p.blocks, p.count, p.records.data());
        m_confirmedLines = [n = s.events.size()] { return QStringList{QStringLiteral("%1 events sent").arg(n)}; };
        break;
    case SchedulePlan::SetClock: {
        m_session->link().send_clock(s.clock);
        const ClockSetting &c = s.clock;
        const QString line = QString::asprintf("clock set to %04d-%02d-%02d %02d:%02d:%02d", c.year + 2000, c.month,
                                               c.day, c.hour, c.minute, c.second) +
                             (c.sntp ? QStringLiteral(" (SNTP)") : QString());
        m_confirmedLines = [line] { return QStringList{line}; };
        break;
    }
    case SchedulePlan::None:
        break;
    }
    confirmChanges();
}

void CtlClient::onEvents()
{
    if (m_phase != Phase::Events)
        return;
    QStringList lines;
    const EventList &list = m_session->events();
    for (int i = 0; i < list.count(); ++i) {
        const ScheduleEvent e = ScheduleEvent::fromRecord(list.at(i).data());
        if (e.type() == kEventWeekly || e.type() == kEventLongTerm)
            lines << eventLine(e);
    }
    printLines(lines);
    finish(kExitOk);
}

void CtlClient::confirmChanges()
{
    if (!m_session->sendChanges()) {
        failWith(QStringLiteral("the values could not be sent to %1").arg(processorText()));
        return;
    }
    // The processor answers in order: its version reply comes after it has taken the values and
    // sent them back as it stores them.
    m_phase = Phase::Confirming;
    restartDeadline();
    m_session->link().request_version();
}

void CtlClient::printSlots()
{
    QStringList lines;
    QJsonArray array;
    for (const SlotEntry &slot : slotsInUse(m_session->presetSlots())) {
        lines << slotLine(slot);
        array.append(slotJson(slot));
    }
    if (m_options.json)
        printJson(array);
    else
        printLines(lines);
}

void CtlClient::printLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + '\n';
    writeOut(out);
}

void CtlClient::printJson(const QJsonValue &value)
{
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    writeOut(doc.toJson(QJsonDocument::Indented));
}

} // namespace orba::ctl
