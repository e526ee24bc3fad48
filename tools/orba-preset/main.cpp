// orba-preset: preset files and packages from the command line, through the application's own
// preset code. Exit status 0 on success, 1 when diff finds differences, 2 on any error.
#include "common/whole_file.h"
#include "presets/preset_file.h"
#include "presets/preset_format.h"
#include "presets/preset_package.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int kDiffers = 1;
constexpr int kError = 2;

const char kUsage[] =
    "Usage: orba-preset COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  show FILE              the preset's name, checksums and every parameter\n"
    "  diff A B               the parameters that differ (name, value in A, value in B)\n"
    "  convert OLD NEW.orba   reads either preset format, writes the current one\n"
    "  pack FOLDER OUT.pkg    packs the folder tree's presets and index files\n"
    "  install PKG FOLDER     installs a package's files into FOLDER (created when missing)\n"
    "  --help                 this text\n"
    "\n"
    "Exit status: 0 success, 1 diff found differences, 2 error.\n";

int fail(const QString &subject, const QString &text)
{
    const QString line = subject.isEmpty() ? text : subject + QStringLiteral(": ") + text;
    std::fprintf(stderr, "orba-preset: %s\n", line.toLocal8Bit().constData());
    return kError;
}

// Far more than any preset file or package holds; a larger input is not one of ours.
constexpr qint64 kInputLimit = qint64(64) << 20;

// The whole of an input file. Only a regular file is opened: a device could be endless and a pipe
// could block forever.
bool readInput(const QString &path, QByteArray &data, int &status)
{
    switch (orba::readWholeFile(path, kInputLimit, data)) {
    case orba::FileReadResult::Ok:
        return true;
    case orba::FileReadResult::Missing:
        status = fail(path, QStringLiteral("no such file"));
        break;
    case orba::FileReadResult::NotRegular:
        status = fail(path, QFileInfo(path).isDir() ? QStringLiteral("is a folder, not a file")
                                                    : QStringLiteral("is not a regular file"));
        break;
    case orba::FileReadResult::Unreadable:
        status = fail(path, QStringLiteral("cannot read the file"));
        break;
    case orba::FileReadResult::TooLarge:
        status = fail(path, QStringLiteral("is larger than %1, more than any preset file or package")
                                .arg(orba::sizeText(kInputLimit)));
        break;
    }
    return false;
}

// The output replaces an existing file through a rename, which would replace a device or a pipe
// just as well.
bool outputAllowed(const QString &path, int &status)
{
    const QFileInfo fi(path);
    if (!fi.exists() || fi.isFile())
        return true;
    status = fail(path, QStringLiteral("is not a regular file; it is left as it is"));
    return false;
}

bool load(const QString &path, PresetHeader &header, SETTINGS_MAP &table, int &status)
{
    header.clear();
    QByteArray data;
    if (!readInput(path, data, status))
        return false;
    const int code = orba::decodePreset(data, header, table);
    if (code == orba::PRESET_OK)
        return true;
    status = fail(path, QLatin1String(orba::presetResultText(code)));
    return false;
}

void out(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
}

QByteArray label(const SETTINGS_MAP &table, uint16_t id)
{
    return QByteArray::fromStdString(table.label(id)).trimmed();
}

int show(const QStringList &args)
{
    PresetHeader header;
    SETTINGS_MAP table;
    int status = 0;
    if (!load(args[0], header, table, status))
        return status;
    out(QByteArray::fromStdString(header.nameText()));
    out(QString::asprintf("presetChecksum %08X (%d)", header.presetChecksum, header.presetCount).toLatin1());
    out(QString::asprintf("systemChecksum %08X (%d)", header.systemChecksum, header.systemCount).toLatin1());
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        out(QByteArray(orba::settingName(id)) + '\t' + label(table, id));
    return 0;
}

int diff(const QStringList &args)
{
    PresetHeader ha, hb;
    SETTINGS_MAP a, b;
    int status = 0;
    if (!load(args[0], ha, a, status) || !load(args[1], hb, b, status))
        return status;
    int result = 0;
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id)) {
        if (a.getRaw(id) == b.getRaw(id))
            continue;
        out(QByteArray(orba::settingName(id)) + '\t' + label(a, id) + '\t' + label(b, id));
        result = kDiffers;
    }
    return result;
}

int convert(const QStringList &args)
{
    PresetHeader header;
    SETTINGS_MAP table;
    int status = 0;
    if (!load(args[0], header, table, status) || !outputAllowed(args[1], status))
        return status;
    if (!orba::writePreset(header, table, args[1]))
        return fail(args[1], QStringLiteral("cannot write the file"));
    return 0;
}

int pack(const QStringList &args)
{
    if (!QFileInfo(args[0]).isDir())
        return fail(args[0], QStringLiteral("no such folder"));
    int status = 0;
    if (!outputAllowed(args[1], status))
        return status;
    if (orba::buildPackage(args[0], args[1]) != 0)
        return fail(args[1], QStringLiteral("Unable to build preset package"));
    return 0;
}

int install(const QStringList &args)
{
    int status = 0;
    QByteArray package;
    if (!readInput(args[0], package, status))
        return status;
    const orba::PackageResult result = orba::installPackageData(package, args[1]);
    if (result.ok())
        return 0;
    return fail(args[0], orba::packageResultText(result));
}

struct Command
{
    int arguments;
    std::function<int(const QStringList &)> run;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return fail({}, QStringLiteral("no command given (try --help)"));
    if (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::map<QString, Command> commands{
        {QStringLiteral("show"), {1, show}},       {QStringLiteral("diff"), {2, diff}},
        {QStringLiteral("convert"), {2, convert}}, {QStringLiteral("pack"), {2, pack}},
        {QStringLiteral("install"), {2, install}},
    };
    const auto it = commands.find(args[0]);
    if (it == commands.end())
        return fail({}, QStringLiteral("unknown command \"%1\" (try --help)").arg(args[0]));
    if (args.size() - 1 != it->second.arguments)
        return fail(args[0], QStringLiteral("expects %1 argument%2 (try --help)")
                                 .arg(it->second.arguments)
                                 .arg(it->second.arguments == 1 ? "" : "s"));
    return it->second.run(args.mid(1));
}
