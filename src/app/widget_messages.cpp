#include "app/widget_messages.h"

#include "common/message.h"

#include <QMessageBox>
#include <QPushButton>

namespace orba {

namespace {

int widgetHandler(const MessageRequest &r)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (r.kind) {
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Critical:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Question:
        icon = QMessageBox::Question;
        break;
    }
    QMessageBox box(icon, r.title, r.text, QMessageBox::NoButton, qobject_cast<QWidget *>(r.parent));
    const std::pair<int, QMessageBox::StandardButton> map[] = {{MsgOk, QMessageBox::Ok},
                                                               {MsgYes, QMessageBox::Yes},
                                                               {MsgNo, QMessageBox::No},
                                                               {MsgCancel, QMessageBox::Cancel}};
    for (const auto &[ours, theirs] : map) {
        if (!(r.buttons & ours))
            continue;
        QPushButton *b = box.addButton(theirs);
        if (ours == MsgOk && !r.okText.isEmpty())
            b->setText(r.okText);
        if (ours == MsgYes && !r.yesText.isEmpty())
            b->setText(r.yesText);
        if (ours == MsgNo && !r.noText.isEmpty())
            b->setText(r.noText);
        if (ours == r.defaultButton)
            box.setDefaultButton(b);
    }
    const int pressed = box.exec();
    for (const auto &[ours, theirs] : map)
        if (pressed == theirs)
            return ours;
    return (r.buttons & MsgCancel) ? MsgCancel : (r.buttons & MsgNo) ? MsgNo : MsgOk;
}

} // namespace

void installWidgetMessageHandler()
{
    setMessageHandler(widgetHandler);
}

} // namespace orba
