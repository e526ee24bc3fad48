// orba-skinshot: renders a skin folder with the real loader, one picture per processing screen
// (the main panel plus that screen) and scale.
//   orba-skinshot [--scale S]... SKIN_FOLDER OUT_FOLDER
// Writes OUT_FOLDER/<screen>-<percent>.png, e.g. input-100.png and input-150.png (scales 1 and 1.5
// unless given). Exit status 0; 1 when the skin fails to load or the loader reports an error or a
// warning (the messages go to standard error); 2 on bad arguments.
#include "skinshot.h"

#include "common/atomic_file.h"
#include "orba-skingen/default_skin_objects.h"
#include "skin/plain_bench.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QList<double> scales;
    while (args.size() >= 2 && args[0] == QLatin1String("--scale")) {
        bool ok = false;
        const double s = args[1].toDouble(&ok);
        if (!ok || s < 0.25 || s > 4) {
            std::fprintf(stderr, "orba-skinshot: bad scale \"%s\"\n", qPrintable(args[1]));
            return 2;
        }
        scales << s;
        args = args.mid(2);
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: orba-skinshot [--scale S]... SKIN_FOLDER OUT_FOLDER\n");
        return 2;
    }
    if (scales.isEmpty())
        scales = {1.0, 1.5};
    if (!QDir().mkpath(args[1])) {
        std::fprintf(stderr, "orba-skinshot: cannot create %s\n", qPrintable(args[1]));
        return 1;
    }

    QWidget host;
    QStringList messages;
    auto bench = orba::skinshot::loadSkin(args[0], &host, &messages);
    int status = 0;
    for (const QString &m : std::as_const(messages)) {
        if (m.contains(QLatin1String("ERROR")) || m.contains(QLatin1String("WARNING")) ||
            m.contains(QLatin1String("error"))) {
            std::fprintf(stderr, "orba-skinshot: %s\n", qPrintable(m.trimmed()));
            status = 1;
        }
    }
    if (!bench) {
        std::fprintf(stderr, "orba-skinshot: %s does not load\n", qPrintable(args[0]));
        return 1;
    }
    for (const orba::skingen::ScreenInfo &s : orba::skingen::kScreens) {
        orba::skinshot::showScreen(*bench, s.screen);
        for (double scale : std::as_const(scales)) {
            const QString file = QDir(args[1]).filePath(
                QStringLiteral("%1-%2.png").arg(QLatin1String(s.word)).arg(qRound(scale * 100)));
            // Encoded first and written in one step: a committed screenshot is never left half written.
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!orba::skinshot::render(*bench, scale).save(&buffer, "PNG") ||
                !orba::writeFileAtomically(file, png)) {
                std::fprintf(stderr, "orba-skinshot: cannot write %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
        }
    }
    return status;
}
