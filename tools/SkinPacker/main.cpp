// SkinPacker: packs a skin folder (and the shared images folder) into one ".skin" file.
//   SkinPacker -p -d SKIN_FOLDER [-i IMAGES_FOLDER] -f OUTPUT.skin
// The report goes to standard output; the exit code is 0 on success, 1 on any failure. The output
// is written atomically: a failed run leaves an existing file as it was.
#include "skin/skin_pack.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(QTextStream &out, const QString &message)
{
    out << "ERROR: " << message << "\n";
    out.flush();
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments().mid(1);
    bool pack = false;
    QString folder, images, file;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString &target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        if (a == QLatin1String("-p")) {
            pack = true;
        } else if (a == QLatin1String("-d") || a == QLatin1String("-i") || a == QLatin1String("-f")) {
            QString &target = a == QLatin1String("-d") ? folder : (a == QLatin1String("-i") ? images : file);
            if (!value(target))
                return fail(out, QStringLiteral("%1 needs a value").arg(a));
        } else {
            return fail(out, QStringLiteral("unknown argument \"%1\"").arg(a));
        }
    }
    if (!pack || folder.isEmpty() || file.isEmpty())
        return fail(out,
                    QStringLiteral("usage: SkinPacker -p -d SKIN_FOLDER [-i IMAGES_FOLDER] -f OUTPUT.skin"));
    if (!QFileInfo(folder).isDir())
        return fail(out, QStringLiteral("the skin folder \"%1\" does not exist").arg(folder));
    if (!images.isEmpty() && !QFileInfo(images).isDir())
        return fail(out, QStringLiteral("the images folder \"%1\" does not exist").arg(images));

    out << "Packing \"" << folder << "\"";
    if (!images.isEmpty())
        out << " with images from \"" << images << "\"";
    out << " into \"" << file << "\"\n";
    const auto sources = orba::skin::collectPackSources(folder, images, file);
    QString error;
    QStringList report;
    if (!orba::skin::writePackedSkin(file, sources, &error, &report))
        return fail(out, error);
    for (const QString &line : report)
        out << "  " << line << "\n";
    out << "Packed " << sources.size() << " files.\n";
    out.flush();
    return 0;
}
