#include "ctl_options.h"

#include "ctl_access.h"
#include "ctl_assign_ip.h"
#include "ctl_firmware.h"

#include <cmath>
#include <cstdio>

namespace orba::ctl {

namespace {

constexpr double kLongestTimeoutS = 3600;
constexpr int kMostMeterFrames = 100000;

const char kUsage[] =
    "Usage: orba-ctl [OPTIONS] COMMAND [ARGUMENTS]\n"
    "\n"
    "Talks to an ORBA processor (or orba-sim) from the command line: logs in, waits for the\n"
    "processor's live values, runs one command and ends.\n"
    "\n"
    "Options:\n"
    "  --host ADDRESS     the processor's IPv4 address (default 127.0.0.1)\n"
    "  --port N           its TCP port (default $ORBA_TCP_PORT, else 55895)\n"
    "  --device NAME      the device NAME of the application's list: address and remembered\n"
    "                     password from maps/NAME.cfg in the current folder\n"
    "  --password TEXT    the login password, given when the processor asks for one\n"
    "  --timeout S        seconds to wait for the processor (default 5)\n"
    "  --json             print JSON instead of text\n"
    "  -h, --help         this text; COMMAND --help describes a command\n"
    "\n"
    "Commands:\n"
    "  status             link state, processor version and current preset\n"
    "  get [NAME...]      \"NAME<TAB>LABEL\" per parameter or global (all when no NAME)\n"
    "  set NAME=VALUE...  sets values as the application would, prints what was set\n"
    "  dump               \"NAME<TAB>LABEL<TAB>RAW\" for every parameter and global\n"
    "  slots              \"NNN<TAB>NAME<TAB>LOCK\" for each preset slot in use\n"
    "  meters [--count N] N meter frames (default 1): the main input and output levels\n"
    "  lock-code CODE|--clear        the GUI access code the processor keeps\n"
    "  login-password OLD NEW        changes the processor's login password\n"
    "  front-panel CODE|none|disabled  the processor's front-panel password\n"
    "  events get|put FILE          the processor's preset schedule, one event a line\n"
    "  clock get|set WHEN           the processor's clock (WHEN: now or \"YYYY-MM-DD HH:MM:SS\")\n"
    "  grab SLOT FILE     a preset slot's values and name into a preset file (.orba)\n"
    "  push FILE SLOT     a preset file into a slot, under its name\n"
    "  take SLOT|FILE     recall a slot on the processor, or a preset file into the live settings\n"
    "  save SLOT NAME     the live settings into a slot under NAME\n"
    "  backup FOLDER      every slot in use into FOLDER, with an index of names and locks\n"
    "  restore FOLDER     a backup back into the same slots\n"
    "  diff A B           \"NAME<TAB>A<TAB>B\" for each setting that differs between two presets\n"
    "                     (each a SLOT or a preset FILE)\n"
    "  report SLOT|FILE --pdf OUT.pdf\n"
    "                     the printed preset report as a PDF file\n"
    "  firmware [--yes] FILE.tbn\n"
    "                     updates the processor's firmware from an image file\n"
    "  assign-ip --mac M --ip A --subnet S --gateway G --name N [...]\n"
    "                     gives a processor without network settings its address (no link)\n"
    "\n"
    "Names are the parameter names of the settings table (\"Input Line Gain\") or the global\n"
    "names (\"DELAY\"), in any case, surrounding blanks ignored.\n"
    "The meter receiver takes the first free UDP port from $ORBA_METER_PORT (default 60001).\n"
    "\n"
    "SLOT is a preset number from 1 to 80. A preset transfer that the processor does not answer\n"
    "ends after --timeout, or 10 s when it is not given.\n"
    "\n"
    "Exit status: 0 success, 2 error or refusal (one line on standard error).\n";

struct CommandInfo
{
    const char *name;
    const char *help;
};

const CommandInfo kCommands[] = {
    {"status", "Usage: orba-ctl [OPTIONS] status\n"
               "\n"
               "Prints \"KEY<TAB>VALUE\" lines: link (the link state), processor (address:port), device\n"
               "(with --device), version (the processor's version numbers), date, fpga and dsp (its version\n"
               "texts) and preset (the current preset's name).\n"
               "With --json: one object with the same keys, the version as an object.\n"},
    {"get", "Usage: orba-ctl [OPTIONS] get [NAME...]\n"
            "\n"
            "Prints \"NAME<TAB>LABEL\" for each NAME, in the order given, or for every parameter in\n"
            "table order and then every global when no NAME is given. LABEL is the value as the\n"
            "application shows it (\"+5.5 dB\"). A NAME is a parameter or global name in any case,\n"
            "surrounding blanks ignored: get \"input line gain\" \" delay \".\n"
            "With --json: an array of {\"name\", \"label\"}.\n"},
    {"set", "Usage: orba-ctl [OPTIONS] set NAME=VALUE...\n"
            "\n"
            "Sets each value as an edit made in the application and sends them to the processor. VALUE\n"
            "is a number in the value's units (\"Input Line Gain=5.3\", optionally with the unit:\n"
            "\"5.3 dB\"), or a label as get prints it (\"+5.5 dB\", \"AES\"); switches also take on/off,\n"
            "yes/no, true/false or 1/0. Numbers go to the nearest step, as the application quantises\n"
            "a typed value; a number outside the value's range is refused. Nothing is sent unless\n"
            "every NAME=VALUE is right. Prints \"NAME<TAB>LABEL\" for each value as the processor then\n"
            "holds it, and ends with status 0 once the processor has taken the values.\n"
            "With --json: an array of {\"name\", \"label\"}.\n"},
    {"dump", "Usage: orba-ctl [OPTIONS] dump\n"
             "\n"
             "Prints \"NAME<TAB>LABEL<TAB>RAW\" for every parameter in table order and then every global.\n"
             "RAW is the number the link carries: the value itself for a parameter with units, the\n"
             "choice number for a list, 0 or 1 for a switch, the integer of a global.\n"
             "With --json: an array of {\"name\", \"label\", \"raw\"}, and \"index\" (the step number) for\n"
             "parameters with units.\n"},
    {"slots", "Usage: orba-ctl [OPTIONS] slots\n"
              "\n"
              "Prints \"NNN<TAB>NAME<TAB>LOCK\" for each preset slot in use: NNN the slot number from 001,\n"
              "LOCK one of \"unlocked\", \"locked\" or \"factory locked\".\n"
              "With --json: an array of {\"slot\", \"name\", \"lock\"}.\n"},
    {"meters",
     "Usage: orba-ctl [OPTIONS] meters [--count N]\n"
     "\n"
     "Receives N meter frames (default 1) over UDP and prints one line per frame with the levels\n"
     "of the main screen's meters, in dB below full scale, left then right:\n"
     "  IN<TAB>L<TAB>R<TAB>AM<TAB>L<TAB>R<TAB>HD<TAB>L<TAB>R\n"
     "IN the input, AM the AM output (positive peaks), HD the HD output. --timeout applies to\n"
     "each frame. With --json: an array of objects {\"in\", \"am\", \"hd\"}, each with \"level\" and\n"
     "\"peak\" pairs (and \"over\", the input's overload flags).\n"},
    {"lock-code",
     "Usage: orba-ctl [OPTIONS] lock-code CODE|--clear\n"
     "\n"
     "Sets the GUI access code the processor keeps (1 to 10 digits; \"0\" is a code), or clears\n"
     "it. Applications that connect next lock and unlock their controls with it; which actions\n"
     "it guards stays as it is. Only the code's CRC-32 is sent.\n"},
    {"login-password",
     "Usage: orba-ctl [OPTIONS] login-password OLD NEW\n"
     "\n"
     "Changes the password the processor asks for at the login. OLD must be the current\n"
     "password (empty when there is none: \"\"); it also answers the login unless --password\n"
     "is given. An empty NEW removes the password. Only CRC-32s are sent.\n"},
    {"events", "Usage: orba-ctl [OPTIONS] events get\n"
               "       orba-ctl [OPTIONS] events put [--truncate] FILE|-\n"
               "\n"
               "get prints the processor's schedule, one event a line:\n"
               "  weekly DAYS HH:MM:SS SLOT     DAYS seven letters SMTWTFS (Sunday first), _ for a day off\n"
               "  yearly MM-DD HH:MM:SS SLOT    every year on that date\n"
               "SLOT is the preset slot taken, from 1. put replaces the whole schedule with the events of\n"
               "FILE (- for standard input) in the same form; empty lines are skipped. A line that does not\n"
               "read is reported with its number and nothing is sent. The processor holds at most 1000\n"
               "events: more are refused unless --truncate, which sends the first 1000.\n"},
    {"clock", "Usage: orba-ctl [OPTIONS] clock get\n"
              "       orba-ctl [OPTIONS] clock set now|\"YYYY-MM-DD HH:MM:SS\" [--sntp SERVER --tz HOURS]\n"
              "\n"
              "get prints the processor's clock from its meter stream:\n"
              "  YYYY-MM-DD HH:MM:SS<TAB>WEEKDAY<TAB>sntp|manual<TAB>SERVER<TAB>OFFSET (hours)\n"
              "set sets it to this computer's time (now) or the one given; with --sntp the processor\n"
              "takes its time from that server (dotted IPv4 address), --tz its offset in hours (\"-5\",\n"
              "\"5.5\").\n"},
    {"front-panel", "Usage: orba-ctl [OPTIONS] front-panel CODE|none|disabled\n"
                    "\n"
                    "Sets the processor's front-panel password: a code of 1 to 4 digits (0-9999), none (no\n"
                    "password required) or disabled (the front panel does not respond).\n"},
    {"grab", "Usage: orba-ctl [OPTIONS] grab SLOT FILE\n"
             "\n"
             "Reads preset SLOT (1-80, a slot in use) from the processor and writes its values and name\n"
             "into the preset file FILE (replaced whole, or left as it was when the grab fails). Prints\n"
             "\"NNN<TAB>NAME\".\n"},
    {"push", "Usage: orba-ctl [OPTIONS] push FILE SLOT\n"
             "\n"
             "Writes the preset file FILE into preset SLOT (1-80) under the file's preset name, and ends\n"
             "once the processor has stored it. A locked slot is refused (\"The destination preset is\n"
             "locked.\") and a file that does not load is refused before anything is sent. Prints\n"
             "\"NNN<TAB>NAME\".\n"},
    {"take", "Usage: orba-ctl [OPTIONS] take SLOT|FILE\n"
             "\n"
             "With a number: recalls preset SLOT (1-80, a slot in use) on the processor. With a file:\n"
             "loads the preset file into the live settings, as the application takes a file: the\n"
             "installation parameters only when the processor follows presets (global S_FOLLOW), and\n"
             "the file's name becomes the current preset. Ends once the processor has taken it.\n"
             "Prints \"NNN<TAB>NAME\" or \"FILE<TAB>NAME\".\n"},
    {"save", "Usage: orba-ctl [OPTIONS] save SLOT NAME\n"
             "\n"
             "Stores the processor's live settings into preset SLOT (1-80) under NAME and makes it the\n"
             "active preset. NAME follows the save rules of the application (no leading space, none of\n"
             "\\ / : * ? \" < > |, at most 40 characters); a locked slot is refused. Prints\n"
             "\"NNN<TAB>NAME\".\n"},
    {"backup", "Usage: orba-ctl [OPTIONS] backup FOLDER\n"
               "\n"
               "Reads every preset slot in use into FOLDER (made when missing): one preset file per slot,\n"
               "NNN_NAME.orba (characters that cannot stand in a file name replaced by _), and the index\n"
               "orba_backup.txt with each slot's number, lock, file and exact name, written last.\n"
               "Prints \"NNN<TAB>NAME<TAB>LOCK\" for each slot.\n"},
    {"restore", "Usage: orba-ctl [OPTIONS] restore FOLDER\n"
                "\n"
                "Writes a backup made by backup into the same slots, with their names and locks. Every\n"
                "file is read first: one that does not load refuses the whole restore. A slot that is\n"
                "locked on the processor is left as it is, unless it already holds that very preset, and\n"
                "listed on the error line after the others are restored. Then prints the slots in use as\n"
                "slots does.\n"},
    {"diff", "Usage: orba-ctl [OPTIONS] diff SLOT|FILE SLOT|FILE\n"
             "\n"
             "Compares two presets, each a preset SLOT (1-80, a slot in use, read from the processor) or a\n"
             "preset FILE, as the application's difference dialog does: the name (its first 40\n"
             "characters), the number of parameters, the checksum, then every parameter in table order.\n"
             "Prints \"NAME<TAB>A<TAB>B\" for each row that differs, nothing when none does. Two files\n"
             "are compared without a processor.\n"},
    {"report", "Usage: orba-ctl [OPTIONS] report SLOT|FILE --pdf OUT.pdf\n"
               "\n"
               "Writes the preset report the application prints for preset SLOT (1-80, read from the\n"
               "processor) or a preset FILE into OUT.pdf (replaced whole, or left as it was on failure),\n"
               "with no print dialog. A file needs no processor. Prints \"OUT.pdf<TAB>PAGES\".\n"},
    {"firmware", kFirmwareHelp},
    {"assign-ip", kAssignIpHelp},
};

const CommandInfo *findCommand(const QString &name)
{
    for (const CommandInfo &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

bool isHelp(const QString &arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// Splits "--name=value"; returns whether the argument is that option.
bool optionMatches(const QString &arg, const char *name, QString &inlineValue, bool &hasInline)
{
    const QLatin1String n(name);
    if (arg == n) {
        hasInline = false;
        return true;
    }
    if (arg.startsWith(n) && arg.size() > n.size() && arg[n.size()] == QLatin1Char('=')) {
        inlineValue = arg.mid(n.size() + 1);
        hasInline = true;
        return true;
    }
    return false;
}

bool readPort(const QString &text, uint16_t &port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return false;
    port = uint16_t(value);
    return true;
}

bool readTimeout(const QString &text, int &ms)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > kLongestTimeoutS)
        return false;
    ms = std::max(1, int(std::lround(seconds * 1000)));
    return true;
}

bool readCount(const QString &text, int &count)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > kMostMeterFrames)
        return false;
    count = value;
    return true;
}

// Commands whose options after the command name are their own, read by the command.
bool takesOwnOptions(const QString &command)
{
    return command == QLatin1String("firmware") || command == QLatin1String("assign-ip");
}

Options failed(Options o, const QString &error)
{
    o.error = error;
    return o;
}

// The preset commands' arguments: how many, and what they are.
int argumentCount(const QString &c)
{
    if (c == QLatin1String("grab") || c == QLatin1String("push") || c == QLatin1String("save") ||
        c == QLatin1String("diff"))
        return 2;
    if (c == QLatin1String("take") || c == QLatin1String("backup") || c == QLatin1String("restore") ||
        c == QLatin1String("report"))
        return 1;
    return 0;
}

QString argumentText(const QString &c)
{
    if (c == QLatin1String("grab"))
        return QStringLiteral("SLOT FILE");
    if (c == QLatin1String("push"))
        return QStringLiteral("FILE SLOT");
    if (c == QLatin1String("save"))
        return QStringLiteral("SLOT NAME");
    if (c == QLatin1String("take") || c == QLatin1String("report"))
        return QStringLiteral("SLOT or FILE");
    if (c == QLatin1String("diff"))
        return QStringLiteral("two of SLOT or FILE");
    return QStringLiteral("FOLDER");
}

QString checkArguments(const Options &o)
{
    const QString &c = o.command;
    if (isAccessCommand(c))
        return planAccess(c, o.arguments).error;
    const QString first = o.arguments.value(0);
    if (c == QLatin1String("events")) {
        if (!((first == QLatin1String("get") && o.arguments.size() == 1) ||
              (first == QLatin1String("put") && o.arguments.size() == 2)))
            return QStringLiteral("events: expects get, or put FILE (try events --help)");
    } else if (c == QLatin1String("clock")) {
        if (!((first == QLatin1String("get") && o.arguments.size() == 1) ||
              (first == QLatin1String("set") && o.arguments.size() == 2)))
            return QStringLiteral("clock: expects get, or set WHEN (try clock --help)");
    }
    if (o.truncate && !(c == QLatin1String("events") && first == QLatin1String("put")))
        return QStringLiteral("--truncate goes with events put only");
    if ((o.sntpGiven || o.tzGiven) && !(c == QLatin1String("clock") && first == QLatin1String("set")))
        return QStringLiteral("--sntp and --tz go with clock set only");
    if (!o.pdf.isEmpty() && c != QLatin1String("report"))
        return QStringLiteral("--pdf goes with report only");
    if (c == QLatin1String("report") && o.pdf.isEmpty())
        return QStringLiteral("report: expects --pdf OUT.pdf (try report --help)");
    if (c == QLatin1String("events") || c == QLatin1String("clock"))
        return QString();
    if (takesOwnOptions(c)) {
        return QString();
    } else if (c == QLatin1String("set")) {
        if (o.arguments.isEmpty())
            return QStringLiteral("set: expects NAME=VALUE (try set --help)");
        for (const QString &a : o.arguments)
            if (!a.contains(QLatin1Char('=')))
                return QStringLiteral("set: \"%1\" is not NAME=VALUE").arg(a);
    } else if (const int wanted = argumentCount(c); wanted > 0) {
        if (o.arguments.size() != wanted)
            return QStringLiteral("%1: expects %2 (try %1 --help)").arg(c, argumentText(c));
    } else if (c != QLatin1String("get") && !o.arguments.isEmpty()) {
        return QStringLiteral("%1: takes no arguments (try %1 --help)").arg(c);
    }
    return QString();
}

} // namespace

int fail(const QString &text)
{
    std::fprintf(stderr, "orba-ctl: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    return kExitError;
}

QString usageText()
{
    return QString::fromLatin1(kUsage);
}

QString commandHelp(const QString &command)
{
    const CommandInfo *c = findCommand(command);
    return c ? QString::fromLatin1(c->help) : QString();
}

bool isCommand(const QString &command)
{
    return findCommand(command) != nullptr;
}

Options parseOptions(const QStringList &arguments)
{
    Options o;
    bool countGiven = false;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnd || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            if (o.command.isEmpty()) {
                if (!isCommand(arg))
                    return failed(o, QStringLiteral("unknown command \"%1\" (try --help)").arg(arg));
                o.command = arg;
            } else {
                o.arguments << arg;
            }
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (isHelp(arg)) {
            o.help = o.command.isEmpty() ? usageText() : commandHelp(o.command);
            return o;
        }
        if (arg == QLatin1String("--clear") && o.command == QLatin1String("lock-code")) {
            o.arguments << arg;
            continue;
        }
        if (arg == QLatin1String("--truncate")) {
            o.truncate = true;
            continue;
        }
        if (takesOwnOptions(o.command)) {
            o.arguments << arg;
            continue;
        }
        if (arg == QLatin1String("--json")) {
            o.json = true;
            continue;
        }
        QString value;
        bool hasInline = false;
        const char *const withValue[] = {"--host",  "--port", "--device", "--password", "--timeout",
                                         "--count", "--sntp", "--tz",     "--pdf"};
        const char *matched = nullptr;
        for (const char *name : withValue)
            if (optionMatches(arg, name, value, hasInline)) {
                matched = name;
                break;
            }
        if (!matched)
            return failed(o, QStringLiteral("unknown option \"%1\" (try --help)").arg(arg));
        if (!hasInline) {
            if (i + 1 >= arguments.size())
                return failed(o, QStringLiteral("%1 needs a value").arg(QLatin1String(matched)));
            value = arguments[++i];
        }
        const QLatin1String name(matched);
        if (name == QLatin1String("--host")) {
            o.host = value.trimmed();
        } else if (name == QLatin1String("--port")) {
            if (!readPort(value, o.port))
                return failed(o, QStringLiteral("--port: \"%1\" is not a port (1-65535)").arg(value));
        } else if (name == QLatin1String("--device")) {
            o.device = value;
        } else if (name == QLatin1String("--sntp")) {
            o.sntpServer = value;
            o.sntpGiven = true;
        } else if (name == QLatin1String("--pdf")) {
            o.pdf = value;
        } else if (name == QLatin1String("--tz")) {
            o.tzHours = value;
            o.tzGiven = true;
        } else if (name == QLatin1String("--password")) {
            o.password = value;
            o.passwordGiven = true;
        } else if (name == QLatin1String("--timeout")) {
            o.timeoutGiven = true;
            if (!readTimeout(value, o.timeoutMs))
                return failed(
                    o, QStringLiteral("--timeout: \"%1\" is not a number of seconds (above 0, at most %2)")
                           .arg(value)
                           .arg(kLongestTimeoutS));
        } else {
            if (!readCount(value, o.count))
                return failed(o, QStringLiteral("--count: \"%1\" is not a number of frames (1-%2)")
                                     .arg(value)
                                     .arg(kMostMeterFrames));
            countGiven = true;
        }
    }
    if (o.command.isEmpty())
        return failed(o, QStringLiteral("no command given (try --help)"));
    if (countGiven && o.command != QLatin1String("meters"))
        return failed(o, QStringLiteral("--count goes with meters only"));
    if (!o.host.isEmpty() && !o.device.isEmpty())
        return failed(o, QStringLiteral("--host and --device name the processor twice: give one"));
    if (o.device.isEmpty() && o.host.isEmpty())
        o.host = QStringLiteral("127.0.0.1");
    const QString wrong = checkArguments(o);
    return wrong.isEmpty() ? o : failed(o, wrong);
}

} // namespace orba::ctl
