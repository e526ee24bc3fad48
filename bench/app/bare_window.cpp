// orba-bare-window: the yardstick for start-up figures: a plain Qt window of the main window's
// size that reports its first paint the way orba does (ORBA_REPORT_FIRST_PAINT), then quits.
// Arguments WIDTH HEIGHT give another size (the skin at another scale).
#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), Qt::darkGray);
        if (m_reported)
            return;
        m_reported = true;
        const qint64 ms = QDateTime::currentMSecsSinceEpoch();
        std::fprintf(stderr, "orba-bare-window: first paint at %lld.%03lld\n", ms / 1000, ms % 1000);
        std::fflush(stderr);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int width = args.size() > 2 ? args[1].toInt() : 0, height = args.size() > 2 ? args[2].toInt() : 0;
    BareWindow window;
    window.resize(width > 0 ? width : 1100, height > 0 ? height : 720);
    window.show();
    return QApplication::exec();
}
