#include "presets/dialogs/preset_list_boxes.h"

#include "common/check.h"
#include "presets/dialogs/presets_dlg.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>

#include <utility>

namespace {

tcPDlgListBox::DragRunner &dragRunner()
{
    static tcPDlgListBox::DragRunner runner;
    return runner;
}

bool isOurDrag(const QMimeData *data)
{
    return data && data->hasText() && data->text() == tcPDlgListBox::dragText();
}

} // namespace

QString tcPDlgListBox::dragText()
{
    return QStringLiteral("Corvante_DV8800_Presets");
}

tcPDlgListBox::DragRunner tcPDlgListBox::setDragRunner(DragRunner runner)
{
    return std::exchange(dragRunner(), std::move(runner));
}

tcPDlgListBox::tcPDlgListBox(CPresetsDlg *dialog, bool enabled, QWidget *parent)
    : QTreeWidget(parent), m_dialog(dialog), m_enabled(enabled)
{
    ORBA_CHECK(dialog != nullptr, "tcPDlgListBox: no dialog");
    m_menu = new QMenu(this);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setDragEnabled(true);
    setProperty("showDropIndicator", true);
    setContextMenuPolicy(Qt::NoContextMenu); // the right-button press opens it
}

QAction *tcPDlgListBox::makeAction(const QString &name, const QString &label, const QKeySequence &keys,
                                   void (tcPDlgListBox::*slot)())
{
    auto *action = new QAction(label, this);
    action->setObjectName(name);
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        // The shortcut works while this list has the focus, whichever list owns the bar.
        action->setShortcutContext(Qt::WidgetShortcut);
        addAction(action);
    }
    connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

QAction *tcPDlgListBox::action(const QString &objectName) const
{
    for (QAction *a : findChildren<QAction *>(objectName))
        return a;
    return nullptr;
}

void tcPDlgListBox::addMenus(QMenuBar *) {}

QMenu *tcPDlgListBox::addBarMenu(QMenuBar *bar, const QString &title,
                                 std::initializer_list<QStringList> groups) const
{
    QMenu *menu = bar->addMenu(title);
    bool first = true;
    for (const QStringList &group : groups) {
        if (!first)
            menu->addSeparator();
        first = false;
        for (const QString &name : group)
            if (QAction *a = action(name))
                menu->addAction(a);
    }
    return menu;
}

bool tcPDlgListBox::copySelection(orba::PresetClipboard &)
{
    return false;
}

void tcPDlgListBox::pasteAt(const orba::PresetClipboard &, QTreeWidgetItem *) {}

void tcPDlgListBox::showContextMenu(const QPoint &globalPos)
{
    updateEnabling();
    m_menu->popup(globalPos);
}

void tcPDlgListBox::slot_copy()
{
    copySelection(m_dialog->clipboard());
    m_dialog->slot_archive_selection_changed();
    m_dialog->slot_fav_file_selection_changed();
}

void tcPDlgListBox::slot_paste()
{
    if (!m_dialog->clipboard().empty())
        pasteAt(m_dialog->clipboard(), currentItem());
}

void tcPDlgListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        // Select what is under the pointer like a left press would, but leave the drag state.
        if (QTreeWidgetItem *item = itemAt(event->position().toPoint()); item && !item->isSelected()) {
            clearSelection();
            setCurrentItem(item);
        }
        setFocus(Qt::MouseFocusReason);
        showContextMenu(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressing = true;
    }
    QTreeWidget::mousePressEvent(event);
}

void tcPDlgListBox::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressing && !m_dragging && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance() &&
        !selectedItems().isEmpty()) {
        startDrag();
        return;
    }
    // The base class would start its own drag and change the selection while the button is held.
    if (!(event->buttons() & Qt::LeftButton))
        QTreeWidget::mouseMoveEvent(event);
}

void tcPDlgListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressing = false;
    QTreeWidget::mouseReleaseEvent(event);
}

void tcPDlgListBox::startDrag()
{
    m_dragging = true;
    orba::PresetClipboard buffer;
    if (copySelection(buffer) && !buffer.empty()) {
        m_dialog->dragBuffer() = std::move(buffer);
        auto *data = new QMimeData;
        data->setText(dragText());
        if (const DragRunner &run = dragRunner()) {
            run(this, data);
            delete data;
        } else {
            auto *drag = new QDrag(this);
            drag->setMimeData(data);
            drag->exec(Qt::CopyAction);
        }
    }
    m_dragging = false;
    m_pressing = false;
}

void tcPDlgListBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_enabled || !isOurDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    if (m_highlightDrops) {
        m_enterItem = currentItem();
        clearSelection();
    }
    event->acceptProposedAction();
}

void tcPDlgListBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (!m_enabled || !isOurDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    if (m_highlightDrops)
        if (QTreeWidgetItem *item = itemAt(event->position().toPoint()))
            setCurrentItem(item);
    event->acceptProposedAction();
}

void tcPDlgListBox::dragLeaveEvent(QDragLeaveEvent *event)
{
    if (m_highlightDrops && m_enterItem)
        setCurrentItem(m_enterItem);
    m_enterItem = nullptr;
    event->accept();
}

void tcPDlgListBox::dropEvent(QDropEvent *event)
{
    if (!m_enabled || !isOurDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_enterItem = nullptr;
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (m_highlightDrops)
        clearSelection();
    if (item)
        setCurrentItem(item);
    // A copy: the buffer may be refilled by a drag started from what the paste runs.
    const orba::PresetClipboard buffer = m_dialog->dragBuffer();
    if (item && !buffer.empty())
        pasteAt(buffer, item);
}

void tcPDlgListBox::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    emit sig_take_my_menu(this);
}
