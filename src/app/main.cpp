#include "app/debug_output.h"
#include "app/kel_widget.h"
#include "app/splash.h"
#include "app/widget_messages.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>

#include <memory>

int main(int argc, char *argv[])
{
    orba::installDebugFilter();
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Resources/talmen_vee.png")));
    orba::installWidgetMessageHandler();

    auto splash = std::make_unique<tcSplash>(QPixmap(QStringLiteral(":/Resources/splash.bmp")));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    KelWidget window;
    window.show();
    splash->finish(&window);
    splash.reset();
    return QApplication::exec();
}
