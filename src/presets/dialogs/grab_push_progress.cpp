#include "presets/dialogs/grab_push_progress.h"

#include "common/message.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

tcGrabPushProgress::tcGrabPushProgress(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Preset Transfer"));
    auto *layout = new QVBoxLayout(this);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setOrientation(Qt::Horizontal);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    layout->addWidget(m_bar);
    layout->addWidget(m_label);
    setFixedSize(360, 90);
}

void tcGrabPushProgress::update(int i, int n, const QString &text)
{
    m_bar->setValue(orba::progressPercent(i, n));
    m_label->setText(text);
    if (!isVisible())
        show();
}

int tcGrabPushProgress::value() const
{
    return m_bar->value();
}

QString tcGrabPushProgress::text() const
{
    return m_label->text();
}

namespace orba {

void ProgressWait::wait(const std::function<bool()> &finished)
{
    if (m_parent)
        m_parent->setCursor(Qt::WaitCursor);
    EventLoopWait::wait(finished);
    if (m_parent)
        m_parent->unsetCursor();
}

void showTransferResult(QWidget *parent, const TransferResult &result)
{
    if (result.ok() || result.status == TransferResult::Cancelled || result.text.isEmpty())
        return;
    const MessageKind kind =
        result.status == TransferResult::Offline ? MessageKind::Information : MessageKind::Warning;
    showMessage(kind, parent, result.title, result.text);
}

TransferResult pasteWithProgress(QWidget *parent, PresetTransfer &transfer, int first,
                                 const PresetClipboard &presets)
{
    TransferResult result;
    {
        tcGrabPushProgress progress(parent);
        result = transfer.pastePresets(first, presets, &progress);
    }
    showTransferResult(parent, result);
    return result;
}

TransferResult copyWithProgress(QWidget *parent, PresetTransfer &transfer, const std::vector<int> &chosen,
                                PresetClipboard &clipboard)
{
    TransferResult result;
    {
        tcGrabPushProgress progress(parent);
        result = transfer.copySlots(chosen, clipboard, &progress);
    }
    showTransferResult(parent, result);
    return result;
}

} // namespace orba
