// orba-bare-window: the yardstick for start-up figures: a plain Qt window of the main window's
// size that reports its first paint the way orba does (ORBA_REPORT_FIRST_PAINT), then quits.
// Arguments WIDTH HEIGHT give another size (the skin at another scale). With a third argument
// FRAMES it stays, and repaints FRAMES times a second what a meter frame repaints in orba (eight
// meter bars and a graph's plot, the window's size apart): the floor under orba's CPU time on line,
// what Qt and the display cost for those repaints alone.
#include <QApplication>
#include <QDateTime>
#include <QList>
#include <QRect>
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
        QPainter painter(this);
        painter.fillRect(rect(), Qt::darkGray);
        for (const QRect &r : parts())
            painter.fillRect(r, (m_frame & 1) ? Qt::green : Qt::darkGreen);
        if (m_reported)
            return;
        m_reported = true;
        const qint64 ms = QDateTime::currentMSecsSinceEpoch();
        std::fprintf(stderr, "orba-bare-window: first paint at %lld.%03lld\n", ms / 1000, ms % 1000);
        std::fflush(stderr);
        if (m_frames <= 0)
            QTimer::singleShot(0, qApp, &QApplication::quit);
    }

public:
    void repaintEvery(int frames)
    {
        m_frames = frames;
        if (frames <= 0)
            return;
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            ++m_frame;
            for (const QRect &r : parts())
                update(r);
        });
        timer->start(1000 / frames);
    }

private:
    // Where orba's default skin has its meter bars and analyser plot, in proportion to the size.
    QList<QRect> parts() const
    {
        const double s = width() / 1100.0;
        QList<QRect> out;
        for (int i = 0; i < 8; ++i)
            out << QRect(int((28 + i * 36) * s), int(490 * s), int(12 * s), int(165 * s));
        out << QRect(int(48 * s), int(174 * s), int(454 * s), int(201 * s));
        return out;
    }

    bool m_reported = false;
    int m_frames = 0;
    int m_frame = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int width = args.size() > 2 ? args[1].toInt() : 0, height = args.size() > 2 ? args[2].toInt() : 0;
    BareWindow window;
    window.resize(width > 0 ? width : 1100, height > 0 ? height : 720);
    window.repaintEvery(args.size() > 3 ? args[3].toInt() : 0);
    window.show();
    return QApplication::exec();
}
