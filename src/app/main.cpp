#include "app/kel_widget.h"
#include "app/splash.h"
#include "app/widget_messages.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    auto *application = new QApplication(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Resources/talmen_vee.png")));
    orba::installWidgetMessageHandler();

    auto *picture = new QPixmap(QStringLiteral(":/Resources/splash.bmp"));
    auto *splash = new tcSplash(*picture);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    auto *window = new KelWidget;
    window->show();
    splash->finish(window);
    delete splash;

    const int result = QApplication::exec();
    delete window;
    delete picture;
    delete application;
    return result;
}
