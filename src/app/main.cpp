#include "app/debug_output.h"
#include "app/kel_widget.h"
#include "app/splash.h"
#include "app/widget_messages.h"
#include "gui/early_pictures.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>

#include <memory>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char *argv[])
{
#if defined(__GLIBC__)
    // Pictures of over 128 KB keep a mapping of their own, so one freed (a picture decoded ahead
    // and not shown, a skin changed) gives its memory back. Left alone, glibc raises this limit at
    // the first large free and keeps such pictures in heaps that do not shrink.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    orba::installDebugFilter();
    QApplication application(argc, argv);
    // The start skin's pictures decode on another core while the splash and the window are made.
    orba::gui::EarlyPictures::start(&tcApWidget::startSkinPictures);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Resources/talmen_vee.png")));
    orba::installWidgetMessageHandler();

    auto splash = std::make_unique<tcSplash>(QPixmap(QStringLiteral(":/Resources/splash.bmp")));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    KelWidget window;
    window.show();
    // Normally the first paint ends it; a window that is never painted must not hold the pictures.
    QTimer::singleShot(10000, &window, [] { orba::gui::EarlyPictures::finish(); });
    splash->finish(&window);
    splash.reset();
    const int status = QApplication::exec();
    orba::gui::EarlyPictures::finish(500); // a window closed before its first paint
    return status;
}
