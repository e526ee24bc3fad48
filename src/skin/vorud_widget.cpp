#include "skin/vorud_widget.h"

#include "skin/bench.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

tcVORudWidget::tcVORudWidget(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_throttle(new QTimer(this))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    m_throttle->setSingleShot(true);
    m_throttle->setInterval(kMoveThrottleMs);
}

tcVORudWidget::~tcVORudWidget() = default;

void tcVORudWidget::setBench(tcBench *bench)
{
    m_bench.reset(bench);
}

int tcVORudWidget::benchModifiers(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= kModShift;
    if (modifiers & Qt::ControlModifier)
        bits |= kModControl;
    return bits;
}

bool tcVORudWidget::throttleRunning() const
{
    return m_throttle->isActive();
}

void tcVORudWidget::expireThrottle()
{
    m_throttle->stop();
}

void tcVORudWidget::contextMenuAt(int, int) {}

void tcVORudWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_leftDown = true;
        m_pressX = pos.x();
        m_pressY = pos.y();
        const int result = m_bench ? m_bench->leftPress(pos.x(), pos.y()) : 2;
        if (result == 0) {
            event->accept();
            return;
        }
        if (result == 1) {
            m_leftDown = false;
            event->accept();
            return;
        }
        if (pos.y() < kDragStripHeight) {
            m_windowDrag = true;
            event->accept();
            return;
        }
        event->ignore();
    } else if (event->button() == Qt::RightButton) {
        m_rightDown = true;
        m_pressX = pos.x();
        m_pressY = pos.y();
        const int result = m_bench ? m_bench->rightPress(pos.x(), pos.y()) : 2;
        if (result == 0) {
            event->accept();
            return;
        }
        m_rightDown = false;
        if (result == 2) {
            const QPoint global = event->globalPosition().toPoint();
            contextMenuAt(global.x(), global.y());
        }
        event->accept();
    } else {
        event->ignore();
    }
}

void tcVORudWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    bool taken = false;
    if (event->button() == Qt::RightButton) {
        m_rightDown = false;
        taken = m_bench && m_bench->release(pos.x(), pos.y());
    } else if (event->button() == Qt::LeftButton) {
        m_leftDown = false;
        m_windowDrag = false;
        taken = m_bench && m_bench->release(pos.x(), pos.y());
    }
    if (taken)
        event->accept();
    else
        event->ignore();
}

void tcVORudWidget::mouseMoveEvent(QMouseEvent *event)
{
    // Moves that arrive while the throttle runs are dropped: drags and hover tracking over every
    // object then cost at most one dispatch per period.
    if (m_throttle->isActive()) {
        event->ignore();
        return;
    }
    m_throttle->start();
    const QPoint pos = event->position().toPoint();
    if (m_bench && m_bench->move(pos.x(), pos.y(), benchModifiers(event->modifiers()))) {
        event->accept();
        return;
    }
    if (m_leftDown && m_windowDrag) {
        if (pos.x() == m_pressX + 10 && pos.y() == m_pressY + 10) {
            event->accept();
            return;
        }
        move(this->pos() + pos - QPoint(m_pressX, m_pressY));
        event->accept();
        return;
    }
    event->ignore();
}

void tcVORudWidget::wheelEvent(QWheelEvent *event)
{
    if (m_leftDown || !m_bench) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const int step = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    const QPoint pos = event->position().toPoint();
    m_bench->wheel(pos.x(), pos.y(), step, benchModifiers(event->modifiers()));
    event->accept();
}

void tcVORudWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_bench && m_bench->doubleClick(pos.x(), pos.y()))
        event->accept();
    else
        event->ignore();
}

void tcVORudWidget::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    int modifiers = benchModifiers(event->modifiers());
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_PageUp:
        step = 1;
        modifiers = kModShift;
        break;
    case Qt::Key_PageDown:
        step = -1;
        modifiers = kModShift;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_bench && !m_leftDown && m_bench->keyActivate()) {
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (m_bench && m_bench->focusedObject()) {
            m_bench->setFocusedObject(nullptr);
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    // No steps while a mouse drag holds the control: the two would fight over its value.
    if (step != 0 && m_bench && !m_leftDown && m_bench->keyStep(step, modifiers)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool tcVORudWidget::focusNextPrevChild(bool next)
{
    if (m_bench && m_bench->focusNext(next))
        return true;
    return QWidget::focusNextPrevChild(next);
}

bool tcVORudWidget::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = m_bench ? m_bench->toolTipAt(help->pos().x(), help->pos().y()) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void tcVORudWidget::paintEvent(QPaintEvent *event)
{
    if (!m_bench)
        return;
    QPainter painter(this);
    // Meters and the graph change apart from each other: each changed part is painted alone
    // rather than everything between them. Past a few parts, their bounding rectangle is cheaper.
    const QRegion &region = event->region();
    if (region.rectCount() > kMaxPaintParts) {
        m_bench->paint(painter, region.boundingRect());
        return;
    }
    for (const QRect &part : region) {
        painter.setClipRect(part);
        m_bench->paint(painter, part);
    }
}

void tcVORudWidget::closeEvent(QCloseEvent *event)
{
    m_bench.reset();
    QWidget::closeEvent(event);
}

void tcVORudWidget::centerOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->geometry();
    const QRect frame = frameGeometry();
    move((desk.width() - frame.width()) / 2, (desk.height() - frame.height()) / 2);
}
