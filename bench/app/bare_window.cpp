// orba-bare-window: the yardstick for start-up figures: a plain Qt window of the main window's
// size that reports its first paint the way orba does (ORBA_REPORT_FIRST_PAINT), then quits.
#include <QApplication>
#include <QDateTime>
#include <QPainter>
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
    BareWindow window;
    window.resize(1100, 720);
    window.show();
    return QApplication::exec();
}
