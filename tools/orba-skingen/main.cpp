// orba-skingen: writes the default skin folder (skin.xml, its included files and every picture).
//   orba-skingen OUTPUT_FOLDER
// The folder is emptied first when it holds an earlier skin; a folder with other contents is
// refused. Exit status 0 on success, 1 on failure (one line on standard error).
#include "default_skin_objects.h"
#include "layout.h"
#include "skin_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace orba::skingen;

namespace {

const char *backgroundOf(int screen)
{
    switch (screen) {
    case kInput:
        return "INPUT_BKGRND";
    case kParametric:
        return "PEQ_BKGRND";
    case kCompressor:
        return "COMP_BKGRND";
    case kAmHd:
        return "AMHD_BKGRND";
    case kAmOut:
        return "FMO_BKGRND";
    case kAmTx:
        return "AMT_BKGRND";
    default:
        return "SYS_BKGRND";
    }
}

int fail(const QString &message)
{
    std::fprintf(stderr, "orba-skingen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-')))
        return fail(QStringLiteral("usage: orba-skingen OUTPUT_FOLDER"));
    QElapsedTimer timer;
    timer.start();

    QDir folder(args[0]);
    if (folder.exists() && !folder.isEmpty()) {
        if (!QFileInfo::exists(folder.filePath(QStringLiteral("skin.xml"))))
            return fail(QStringLiteral("%1 is not empty and holds no skin; not touching it").arg(args[0]));
        if (!folder.removeRecursively())
            return fail(QStringLiteral("cannot empty %1").arg(args[0]));
    }
    if (!QDir().mkpath(args[0]))
        return fail(QStringLiteral("cannot create %1").arg(args[0]));

    SkinWriter w(args[0]);
    writeTheme(w);
    writeSharedPictures(w);
    layoutMain(w);
    layoutInput(w);
    layoutParametric(w);
    layoutCompressor(w);
    layoutAmHd(w);
    layoutAmOut(w);
    layoutAmTx(w);
    layoutSystem(w);
    w.screen(QStringLiteral("SCREEN_MAIN"), kMain, QStringLiteral("Main"), QStringLiteral("BKGRND"),
             QStringLiteral("0"), QStringLiteral("0"));
    for (const ScreenInfo &s : kScreens)
        w.screen(QStringLiteral("SCREEN_%1").arg(QString::fromLatin1(s.word).toUpper()), s.screen,
                 QLatin1String(s.title), QLatin1String(backgroundOf(s.screen)), QStringLiteral("SX"),
                 QStringLiteral("SY"));

    QString error;
    if (!w.write(&error))
        return fail(error);
    std::printf("orba-skingen: wrote %lld files to %s in %lld ms\n", static_cast<long long>(w.files().size()),
                qPrintable(QDir(args[0]).absolutePath()), static_cast<long long>(timer.elapsed()));
    return 0;
}
