// The main window's honesty about the link and the undo of the user's own edits: the banner over
// the controls while the processor is not on line, the on-line switch's caption while it is wanted
// but not reached, the question about edits made off line, and Ctrl+Z / Ctrl+Shift+Z with their
// menu entries. The session keeps the edits; this file only shows and asks.
#include "app/ap_widget.h"

#include "common/message.h"
#include "panels/cg_main.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QShortcut>
#include <QTimer>

namespace {

const QString kOfflineText = QStringLiteral("Offline: changes are not sent");
constexpr int kNoticeMs = 3000;
// In parts of the window: over the right half of the screen's heading, just above the controls
// being edited, on every screen.
constexpr double kBannerX = 0.69, kBannerY = 0.192, kBannerW = 0.296, kBannerH = 0.042;

QLabel *overlayLabel(QWidget *parent, const QString &name, const QColor &fg, const QColor &bg)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    // Opaque, so the skin under it is not painted again whenever it repaints; clicks go through.
    label->setAutoFillBackground(true);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, bg);
    palette.setColor(QPalette::WindowText, fg);
    label->setPalette(palette);
    label->hide();
    return label;
}

} // namespace

void tcApWidget::buildEditing(QMenu *menu)
{
    // The red of a lost link on the LINK display: nothing the user changes reaches the processor.
    m_offlineBanner =
        overlayLabel(this, QStringLiteral("offlineBanner"), QColor(255, 214, 212), QColor(112, 30, 34));
    m_offlineBanner->setText(kOfflineText);
    m_notice = overlayLabel(this, QStringLiteral("notice"), QColor(232, 236, 240), QColor(44, 50, 58));
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QWidget::hide);
    placeOverlays();

    const QKeySequence undoKey(Qt::CTRL | Qt::Key_Z), redoKey(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    new QShortcut(undoKey, this, this, &tcApWidget::undoEdit);
    new QShortcut(redoKey, this, this, &tcApWidget::redoEdit);
    if (!menu)
        return;
    auto *edit = new QMenu(QStringLiteral("Edit"), menu);
    const QList<QAction *> top = menu->actions();
    menu->insertMenu(top.size() > 1 ? top[1] : nullptr, edit);
    m_undoAction = edit->addAction(QStringLiteral("Undo"), this, &tcApWidget::undoEdit);
    m_redoAction = edit->addAction(QStringLiteral("Redo"), this, &tcApWidget::redoEdit);
    // Shown in the menu; the window's shortcuts do the work.
    for (auto [action, key] : {std::pair{m_undoAction, undoKey}, std::pair{m_redoAction, redoKey}}) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    connect(edit, &QMenu::aboutToShow, this, [this] {
        if (!m_undoAction || !m_session)
            return;
        const QString undo = m_session->undoName(), redo = m_session->redoName();
        m_undoAction->setText(undo.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo %1").arg(undo));
        m_redoAction->setText(redo.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo %1").arg(redo));
        m_undoAction->setEnabled(!undo.isEmpty());
        m_redoAction->setEnabled(!redo.isEmpty());
    });
}

void tcApWidget::showLinkLook()
{
    if (m_tornDown)
        return;
    const bool online = m_session && m_session->isOnline();
    if (m_offlineBanner) {
        m_offlineBanner->setVisible(!online && skinLoaded());
        m_offlineBanner->raise();
    }
    if (tcKelBench *b = kelBench(); b && b->mainPanel())
        b->mainPanel()->showOnlineWaiting(onlineWanted() && !online);
}

void tcApWidget::placeOverlays()
{
    if (!m_offlineBanner)
        return;
    const QRect banner(int(width() * kBannerX), int(height() * kBannerY), int(width() * kBannerW),
                       std::max(18, int(height() * kBannerH)));
    QFont font = m_offlineBanner->font();
    font.setBold(true);
    font.setPixelSize(std::max(10, banner.height() / 2));
    m_offlineBanner->setFont(font);
    m_offlineBanner->setGeometry(banner);
    m_notice->setFont(font);
    m_notice->setGeometry(banner.translated(0, banner.height() + banner.height() / 4));
}

void tcApWidget::resizeEvent(QResizeEvent *event)
{
    tcVORudWidget::resizeEvent(event);
    placeOverlays();
}

void tcApWidget::showNotice(const QString &text)
{
    if (!m_notice)
        return;
    m_notice->setText(text);
    m_notice->show();
    m_notice->raise();
    m_noticeTimer->start(kNoticeMs);
}

void tcApWidget::askOfflineEdits(int count)
{
    if (m_tornDown)
        return;
    orba::MessageRequest r;
    r.kind = orba::MessageKind::Question;
    r.parent = this;
    r.title = QStringLiteral("Offline changes");
    r.text = count == 1
                 ? QStringLiteral("1 setting was changed while offline. Send it to the processor, or keep "
                                  "the processor's value?")
                 : QStringLiteral("%1 settings were changed while offline. Send them to the processor, or "
                                  "keep the processor's values?")
                       .arg(count);
    r.buttons = orba::MsgYes | orba::MsgNo;
    // On air the safe answer is to leave the processor as it is.
    r.defaultButton = orba::MsgNo;
    r.yesText = QStringLiteral("Send my changes");
    r.noText = QStringLiteral("Keep the processor's");
    if (orba::showMessage(r) == orba::MsgYes) {
        // A link lost meanwhile keeps them for the next connection, which asks again.
        m_session->sendOfflineEdits();
    } else {
        m_session->dropOfflineEdits();
    }
}

void tcApWidget::undoEdit()
{
    stepEdit(true);
}

void tcApWidget::redoEdit()
{
    stepEdit(false);
}

void tcApWidget::stepEdit(bool undo)
{
    if (m_tornDown)
        return;
    const QString verb = undo ? QStringLiteral("Undo") : QStringLiteral("Redo");
    if (tcKelBench *b = kelBench(); b && b->locked()) {
        showNotice(QStringLiteral("%1: the controls are locked").arg(verb));
        return;
    }
    const QString name = undo ? m_session->undoName() : m_session->redoName();
    switch (undo ? m_session->undo() : m_session->redo()) {
    case orba::Session::UndoResult::Done:
        showNotice(QStringLiteral("%1 %2").arg(verb, name));
        break;
    case orba::Session::UndoResult::Nothing:
        showNotice(undo ? QStringLiteral("Nothing to undo") : QStringLiteral("Nothing to redo"));
        break;
    case orba::Session::UndoResult::Offline:
        showNotice(QStringLiteral("%1: the processor is not on line").arg(verb));
        break;
    }
}
