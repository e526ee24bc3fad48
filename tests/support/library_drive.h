// Drives the preset library's lists as the platform would: drops of the library's drag on a row,
// and a drag from one list to another (for targets that link the preset dialogs).
#pragma once

#include "presets/dialogs/preset_list_boxes.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QList>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>

namespace orba::test {

inline QPoint rowCentre(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
}

inline void dropOn(QTreeWidget *tree, QTreeWidgetItem *item)
{
    QMimeData data;
    data.setText(tcPDlgListBox::dragText());
    const QPoint at = rowCentre(tree, item);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
}

// Presses on the first chosen row, selects the rows and moves past the drag distance; the drag
// ends with a drop on the target's item.
inline void dragRows(tcPDlgListBox *from, const QList<QTreeWidgetItem *> &rows, QTreeWidget *to,
                     QTreeWidgetItem *target)
{
    const auto previous =
        tcPDlgListBox::setDragRunner([&](tcPDlgListBox *, QMimeData *) { dropOn(to, target); });
    const QPoint at = rowCentre(from, rows.front());
    QTest::mousePress(from->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    from->clearSelection();
    for (QTreeWidgetItem *row : rows)
        row->setSelected(true);
    const QPoint away = at + QPoint(0, QApplication::startDragDistance() + 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(away), QPointF(from->viewport()->mapToGlobal(away)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(from->viewport(), &move);
    QTest::mouseRelease(from->viewport(), Qt::LeftButton, Qt::NoModifier, away);
    tcPDlgListBox::setDragRunner(previous);
}

} // namespace orba::test
