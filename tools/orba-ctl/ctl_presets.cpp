// orba-ctl's preset commands: grab, push, take, save, backup and restore, on the application's own
// preset transfers. Everything that can be checked without the processor (slot numbers, names,
// files) is checked before connecting; a refusal is one line naming the rule's message.
#include "ctl_client.h"
#include "ctl_report.h"

#include "presets/name_rules.h"
#include "presets/preset_backup.h"
#include "presets/preset_file.h"
#include "presets/preset_report.h"
#include "presets/report_pages.h"

#include <QFileInfo>

namespace orba::ctl {

namespace {

bool isCommandName(const Options &o, const char *name)
{
    return o.command == QLatin1String(name);
}

// A preset number from 1 to 80 as a slot index.
bool readSlot(const QString &text, int &slot)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok) {
        fail(QStringLiteral("\"%1\" is not a preset number (1-%2)").arg(text).arg(PRESET_SLOTS));
        return false;
    }
    if (number < 1 || number > PRESET_SLOTS) {
        fail(QStringLiteral("There is no preset %1: presets are numbered 1 to %2.")
                 .arg(number)
                 .arg(PRESET_SLOTS));
        return false;
    }
    slot = number - 1;
    return true;
}

bool looksLikeSlot(const QString &text)
{
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

bool loadFile(const QString &path, CommandPlan &plan)
{
    plan.preset = std::make_shared<SETTINGS_MAP>();
    plan.header.clear();
    int code = PRESET_CANNOT_OPEN;
    if (QFileInfo(path).isFile())
        code = loadPreset(plan.header, *plan.preset, path);
    if (code == PRESET_OK && plan.header.inUse == 0)
        code = PRESET_CANNOT_OPEN;
    if (code == PRESET_OK)
        return true;
    fail(oneLine(QStringLiteral("Error taking preset:\n%1").arg(QLatin1String(presetResultText(code)))) +
         QStringLiteral(" (%1)").arg(path));
    return false;
}

bool readOperand(const QString &text, PresetOperand &operand)
{
    if (looksLikeSlot(text))
        return readSlot(text, operand.slot);
    operand.path = text;
    CommandPlan file;
    if (!loadFile(text, file))
        return false;
    operand.set = file.preset;
    operand.header = file.header;
    return true;
}

QString reportTitle(const PresetOperand &operand)
{
    return operand.slot >= 0 ? slotReportTitle(operand.header) : QFileInfo(operand.path).completeBaseName();
}

// What diff and report print once both presets are read: the rows that differ, or the report's
// file and page count; false (with why) when the report cannot be written.
bool diffOrReportLines(const Options &o, const CommandPlan &plan, QStringList &lines, QString &error)
{
    if (isCommandName(o, "diff")) {
        const PresetOperand &a = plan.operands[0];
        const PresetOperand &b = plan.operands[1];
        for (const DiffRow &row : diffRows({a.set.get(), a.header}, {b.set.get(), b.header}))
            if (row.differs)
                lines << row.label + QLatin1Char('\t') + row.current + QLatin1Char('\t') + row.compared;
        return true;
    }
    const PresetOperand &operand = plan.operands[0];
    int pages = 0;
    if (!writeReportPdf(o.pdf, reportHeading(), reportTitle(operand), presetReportLines(*operand.set),
                        &pages)) {
        error = QStringLiteral("cannot write \"%1\"").arg(o.pdf);
        return false;
    }
    lines << o.pdf + QLatin1Char('\t') + QString::number(pages);
    return true;
}

bool isDiffOrReport(const Options &o)
{
    return isCommandName(o, "diff") || isCommandName(o, "report");
}

} // namespace

int runWithoutProcessor(const Options &options, const CommandPlan &plan)
{
    if (!isDiffOrReport(options) || plan.operands.empty())
        return -1;
    for (const PresetOperand &operand : plan.operands)
        if (operand.slot >= 0)
            return -1;
    QStringList lines;
    QString error;
    if (!diffOrReportLines(options, plan, lines, error))
        return fail(error);
    CtlClient::printLines(lines);
    return kExitOk;
}

QString oneLine(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

bool planPresetCommand(const Options &o, CommandPlan &plan)
{
    const QStringList &a = o.arguments;
    if (isCommandName(o, "grab")) {
        plan.path = a.value(1);
        return readSlot(a.value(0), plan.slot);
    }
    if (isCommandName(o, "push")) {
        plan.path = a.value(0);
        return readSlot(a.value(1), plan.slot) && loadFile(plan.path, plan);
    }
    if (isCommandName(o, "take")) {
        if (looksLikeSlot(a.value(0)))
            return readSlot(a.value(0), plan.slot);
        plan.path = a.value(0);
        return loadFile(plan.path, plan);
    }
    if (isCommandName(o, "save")) {
        plan.name = a.value(1);
        const NameCheck check = checkSaveName(plan.name);
        if (check.result == NameCheck::Empty) {
            fail(QStringLiteral("save: the name is empty"));
            return false;
        }
        if (!check.accepted()) {
            fail(oneLine(check.text));
            return false;
        }
        if (plan.name.size() > PRESET_NAME_MAX || plan.name.toLatin1() != plan.name.toUtf8()) {
            fail(QStringLiteral("A preset name has at most %1 characters, of ASCII only.")
                     .arg(PRESET_NAME_MAX));
            return false;
        }
        return readSlot(a.value(0), plan.slot);
    }
    if (isCommandName(o, "backup") || isCommandName(o, "restore"))
        plan.path = a.value(0);
    if (isDiffOrReport(o)) {
        plan.operands.resize(size_t(a.size()));
        for (int i = 0; i < a.size(); ++i)
            if (!readOperand(a[i], plan.operands[size_t(i)]))
                return false;
    }
    return true;
}

bool CtlClient::isPresetCommand() const
{
    for (const char *name : {"grab", "push", "take", "save", "backup", "restore", "diff", "report"})
        if (isCommandName(m_options, name))
            return true;
    return false;
}

QString CtlClient::slotText(int slot) const
{
    return slotNumberText(slot) + QLatin1Char('\t') + slotName(m_session->presetSlots().get(slot));
}

void CtlClient::runPresetCommand()
{
    m_phase = Phase::Transferring;
    m_deadline.stop();
    if (isCommandName(m_options, "grab"))
        grabCommand();
    else if (isCommandName(m_options, "push"))
        pushCommand();
    else if (isCommandName(m_options, "take"))
        takeCommand();
    else if (isCommandName(m_options, "save"))
        saveCommand();
    else if (isCommandName(m_options, "backup"))
        backupCommand();
    else if (isDiffOrReport(m_options))
        diffOrReportCommand();
    else
        restoreCommand();
}

void CtlClient::failTransfer(const TransferResult &result)
{
    m_phase = Phase::Connecting; // so failWith is not a no-op
    failWith(oneLine(result.text));
}

void CtlClient::confirmThenPrint(std::function<QStringList()> lines)
{
    m_confirmedLines = std::move(lines);
    m_phase = Phase::Confirming;
    restartDeadline();
    m_session->link().request_version();
}

void CtlClient::grabCommand()
{
    const int slot = m_plan.slot;
    if (!slotInUse(m_session->presetSlots(), slot)) {
        failTransfer({TransferResult::Refused, {}, QStringLiteral("Preset %1 is empty.").arg(slot + 1)});
        return;
    }
    SETTINGS_MAP set;
    const TransferResult r = m_transfer->grabPreset(slot, &set);
    if (!r.ok()) {
        failTransfer(r);
        return;
    }
    PresetHeader header;
    header.clear();
    header.setName(m_session->presetSlots().get(slot).nameText());
    header.inUse = 1;
    if (!writePreset(header, set, m_plan.path)) {
        failTransfer({TransferResult::Refused, {}, QStringLiteral("cannot write \"%1\"").arg(m_plan.path)});
        return;
    }
    printLines({slotText(slot)});
    finish(kExitOk);
}

void CtlClient::pushCommand()
{
    const int slot = m_plan.slot;
    const SlotRefusal refusal = checkSaveSlot(m_session->presetSlots(), slot);
    if (refusal.refused()) {
        failTransfer({TransferResult::Refused, refusal.title, refusal.text});
        return;
    }
    PresetHeader header = m_plan.header;
    header.inUse = 255;
    header.lock = PRESET_UNLOCKED;
    const TransferResult r = m_transfer->pushPreset(slot, *m_plan.preset, header);
    if (!r.ok()) {
        failTransfer(r);
        return;
    }
    printLines({slotText(slot)});
    finish(kExitOk);
}

void CtlClient::takeCommand()
{
    if (m_plan.slot >= 0) {
        const TransferResult r = m_transfer->takeSlot(m_plan.slot);
        if (!r.ok())
            failTransfer(r);
        else
            confirmThenPrint([this] { return QStringList{slotText(m_plan.slot)}; });
        return;
    }
    const TransferResult r = m_transfer->takeFile(m_plan.path);
    if (!r.ok())
        failTransfer(r);
    else
        confirmThenPrint([this] {
            return QStringList{m_plan.path + QLatin1Char('\t') +
                               QString::fromLatin1(m_plan.header.nameText().c_str())};
        });
}

void CtlClient::saveCommand()
{
    const TransferResult r = m_transfer->saveToSlot(m_plan.slot, m_plan.name);
    if (!r.ok()) {
        failTransfer(r);
        return;
    }
    confirmThenPrint([this] { return QStringList{slotText(m_plan.slot)}; });
}

void CtlClient::backupCommand()
{
    const BackupRun run = backupSlots(*m_transfer, *m_session, m_plan.path);
    if (!run.end.ok()) {
        failTransfer(run.end);
        return;
    }
    if (!run.error.isEmpty()) {
        failTransfer({TransferResult::Refused, {}, run.error});
        return;
    }
    printSlots();
    finish(kExitOk);
}

void CtlClient::restoreCommand()
{
    const BackupRun run = restoreSlots(*m_transfer, *m_session, m_plan.path);
    if (!run.end.ok()) {
        failTransfer(run.end);
        return;
    }
    if (!run.error.isEmpty()) {
        failTransfer({TransferResult::Refused, {}, run.error});
        return;
    }
    if (!run.lockedSlots.isEmpty()) {
        failTransfer(
            {TransferResult::Refused,
             {},
             QStringLiteral("The destination preset is locked. (%1; the other presets were restored)")
                 .arg(run.lockedSlots.join(QStringLiteral(", ")))});
        return;
    }
    // The locks went out after the presets.
    confirmThenPrint([this] {
        QStringList lines;
        for (const SlotEntry &slot : slotsInUse(m_session->presetSlots()))
            lines << slotLine(slot);
        return lines;
    });
}

void CtlClient::diffOrReportCommand()
{
    for (PresetOperand &operand : m_plan.operands) {
        if (operand.slot < 0)
            continue;
        const int slot = operand.slot;
        if (!slotInUse(m_session->presetSlots(), slot)) {
            failTransfer({TransferResult::Refused, {}, QStringLiteral("Preset %1 is empty.").arg(slot + 1)});
            return;
        }
        operand.set = std::make_shared<SETTINGS_MAP>();
        const TransferResult r = m_transfer->grabPreset(slot, operand.set.get());
        if (!r.ok()) {
            failTransfer(r);
            return;
        }
        operand.header = m_session->presetSlots().get(slot);
    }
    QStringList lines;
    QString error;
    if (!diffOrReportLines(m_options, m_plan, lines, error)) {
        failTransfer({TransferResult::Refused, {}, error});
        return;
    }
    printLines(lines);
    finish(kExitOk);
}

} // namespace orba::ctl
