// The three lists of the preset library: the common tree (context menu, focus that claims the
// dialog's menu bar, drag start, drop target highlighting) and the processor's slots, the
// favourite folder tree and the presets of the selected folder. Every action goes through the
// owning dialog's store and transfer; a list owns only its widgets and its actions.
#pragma once

#include "presets/preset_transfer.h"

#include <QPoint>
#include <QTreeWidget>

#include <functional>
#include <initializer_list>

class CPresetsDlg;
class QAction;
class QMenu;
class QMenuBar;
class QMimeData;

class tcPDlgListBox : public QTreeWidget
{
    Q_OBJECT
public:
    // The text every drag of the library carries.
    static QString dragText();
    // How a drag runs once started; tests replace it (a real drag runs its own event loop).
    using DragRunner = std::function<void(tcPDlgListBox *source, QMimeData *data)>;
    static DragRunner setDragRunner(DragRunner runner);

    // dialog must not be null.
    tcPDlgListBox(CPresetsDlg *dialog, bool enabled, QWidget *parent);

    CPresetsDlg *dialog() const { return m_dialog; }
    bool listEnabled() const { return m_enabled; }
    void setHighlightDrops(bool on) { m_highlightDrops = on; }
    bool pressInProgress() const { return m_pressing; }
    bool dragInProgress() const { return m_dragging; }
    QMenu *contextMenu() const { return m_menu; }
    QAction *action(const QString &objectName) const;

    // In slot order: this list's menus into the bar; the selection into a preset list; a preset
    // list pasted at an item; the context menu at a global position.
    virtual void addMenus(QMenuBar *bar);
    virtual bool copySelection(orba::PresetClipboard &presets);
    virtual void pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item);
    virtual void showContextMenu(const QPoint &globalPos);
    virtual void updateEnabling() {}

public slots:
    void slot_copy();
    void slot_paste();

signals:
    void sig_take_my_menu(tcPDlgListBox *list);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    // A bar menu of this list's actions by name, a separator between groups; absent ones are skipped.
    QMenu *addBarMenu(QMenuBar *bar, const QString &title, std::initializer_list<QStringList> groups) const;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

    // An entry of the context menu (and the bar): label with its shortcut after a tab.
    QAction *makeAction(const QString &name, const QString &label, const QKeySequence &keys,
                        void (tcPDlgListBox::*slot)());
    template <class T>
    QAction *makeAction(const QString &name, const QString &label, const QKeySequence &keys,
                        void (T::*slot)())
    {
        return makeAction(name, label, keys, static_cast<void (tcPDlgListBox::*)()>(slot));
    }
    QMenu *m_menu = nullptr;

private:
    void startDrag();

    CPresetsDlg *m_dialog;
    bool m_enabled;
    bool m_highlightDrops = true;
    QTreeWidgetItem *m_enterItem = nullptr;
    QPoint m_pressPos;
    bool m_pressing = false;
    bool m_dragging = false;
};

// The processor's 80 slots.
class tcPDlgArcBox : public tcPDlgListBox
{
    Q_OBJECT
public:
    tcPDlgArcBox(CPresetsDlg *dialog, bool enabled, bool technician, QWidget *parent);

    void populate(const PresetSlotList &slotList);
    std::vector<int> selectedSlots() const; // in row order
    void addMenus(QMenuBar *bar) override;
    bool copySelection(orba::PresetClipboard &presets) override;
    void pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item) override;
    void updateEnabling() override;

public slots:
    void slot_save();
    void slot_take();
    void slot_delete();
    void slot_rename();
    void slot_lock();
    void slot_unlock();
    void slot_factory_lock();
    void slot_view();
    void slot_diff();
    void slot_print();

    // A row's lock colour as it reads on this list: the colours chosen for a light list, lifted to
    // the same hue at a readable lightness (and black to the palette's text) on a dark one.
    QColor readableColour(const QColor &colour) const;

signals:
    void sig_summary_changed();

private:
    bool m_technician;
};

// The favourite folder tree; each item carries its absolute path and protected flag.
class tcPDlgFavFoldersBox : public tcPDlgListBox
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int ProtectedRole = Qt::UserRole + 1;

    tcPDlgFavFoldersBox(CPresetsDlg *dialog, QWidget *parent);

    void rebuild(const QString &select = {}); // then selects that folder, else the root
    QString selectedFolder() const;
    QTreeWidgetItem *itemForPath(const QString &path) const;
    void addMenus(QMenuBar *bar) override;
    void pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item) override;
    void updateEnabling() override;

public slots:
    void slot_save();
    void slot_new_folder();
    void slot_delete();
    void slot_rename();
    void slot_install_pkg();
    void slot_build_pkg();

private:
    void fill(QTreeWidgetItem *parent, const QString &folder);
};

// The presets of the selected folder, in index order.
class tcPDlgFavFilesBox : public tcPDlgListBox
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;

    tcPDlgFavFilesBox(CPresetsDlg *dialog, QWidget *parent);

    // The folder's header text: its path below "favorites", the last 25 characters after "..."
    // when longer, backslashes for slashes.
    static QString headerText(const QString &favoritesFolder, const QString &folder);

    void populate(const QString &folder, bool isProtected);
    QString folder() const { return m_folder; }
    QStringList selectedPaths() const; // in row order
    void addMenus(QMenuBar *bar) override;
    bool copySelection(orba::PresetClipboard &presets) override;
    void pasteAt(const orba::PresetClipboard &presets, QTreeWidgetItem *item) override;
    void updateEnabling() override;

public slots:
    void slot_save();
    void slot_take();
    void slot_delete();
    void slot_rename();
    void slot_sort_up();
    void slot_sort_dn();
    void slot_view();
    void slot_diff();
    void slot_print();

private:
    void refill(const QString &select = {});
    void sort(bool up);

    QString m_folder;
    bool m_protected = false;
};
