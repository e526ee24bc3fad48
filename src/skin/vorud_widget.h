// tcVORudWidget: the top-level widget that hosts one bench. It turns Qt's pointer events into the
// bench's dispatch (positions in widget coordinates), throttles moves to one per 100 ms, moves a
// borderless window dragged by its top strip, and paints the bench opaquely. It owns the bench and
// deletes it when the window closes. Keys move the bench's focus (Tab, Shift+Tab) and step the
// focused control (arrows, PgUp/PgDn) or click it (Space, Enter); tooltips come from the bench.
#pragma once

#include <QWidget>

#include <memory>

class QTimer;
class tcBench;

class tcVORudWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMoveThrottleMs = 100;
    static constexpr int kDragStripHeight = 30;
    static constexpr int kMaxPaintParts = 16;

    explicit tcVORudWidget(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~tcVORudWidget() override;

    // Takes ownership (a previous bench is deleted).
    void setBench(tcBench *bench);
    tcBench *bench() const { return m_bench.get(); }

    void centerOnScreen();

    bool leftDown() const { return m_leftDown; }
    bool rightDown() const { return m_rightDown; }
    bool windowDragging() const { return m_windowDrag; }

    // The move throttle, for tests: whether it is running, and ending it early.
    bool throttleRunning() const;
    void expireThrottle();

    static int benchModifiers(Qt::KeyboardModifiers modifiers);

protected:
    // A right press that no object takes; the main window opens its menu here.
    virtual void contextMenuAt(int globalX, int globalY);

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<tcBench> m_bench;
    QTimer *m_throttle;
    int m_pressX = 0, m_pressY = 0;
    bool m_leftDown = false;
    bool m_rightDown = false;
    bool m_windowDrag = false;
};
