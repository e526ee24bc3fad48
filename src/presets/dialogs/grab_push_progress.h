// tcGrabPushProgress: the "Preset Transfer" window shown while presets move one by one between the
// processor and the clipboard, and the waits and helpers of the window's transfers: while a grab or
// push waits, events keep running (the rest of the window stays live) under the wait cursor; a
// transfer that ends early tells the user why.
#pragma once

#include "presets/preset_transfer.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QWidget;

class tcGrabPushProgress : public QDialog, public orba::TransferProgress
{
    Q_OBJECT
public:
    explicit tcGrabPushProgress(QWidget *parent = nullptr);

    // Bar value i * 100 / n (0 when n is 0), label text; shown at once.
    void update(int i, int n, const QString &text) override;
    int value() const;
    QString text() const;

private:
    QProgressBar *m_bar = nullptr;
    QLabel *m_label = nullptr;
};

namespace orba {

// Runs the events while a transfer waits, with the wait cursor on the parent (when given).
class ProgressWait : public EventLoopWait
{
public:
    explicit ProgressWait(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void wait(const std::function<bool()> &finished) override;

private:
    QWidget *m_parent;
};

// Shows a transfer's end or refusal to the user (nothing for Done or Cancelled).
void showTransferResult(QWidget *parent, const TransferResult &result);

// The clipboard into the slots from first on, behind a progress window; refusals and early ends
// are told. The progress window closes before the result is shown.
TransferResult pasteWithProgress(QWidget *parent, PresetTransfer &transfer, int first,
                                 const PresetClipboard &presets);
// The chosen slots in use into the clipboard, behind a progress window.
TransferResult copyWithProgress(QWidget *parent, PresetTransfer &transfer, const std::vector<int> &chosen,
                                PresetClipboard &clipboard);

} // namespace orba
