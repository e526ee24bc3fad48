// The one road by which the system shows a message box. Libraries without widgets call
// showMessage(); the application installs a handler that opens a real box, tests install one
// that records the box and answers it.
#pragma once

#include <QString>

class QObject;

namespace orba {

enum class MessageKind { Information, Warning, Critical, Question };

enum MessageButton : int {
    MsgOk = 0x1,
    MsgCancel = 0x2,
    MsgYes = 0x4,
    MsgNo = 0x8,
};

struct MessageRequest
{
    MessageKind kind = MessageKind::Information;
    QObject *parent = nullptr; // a QWidget, or none
    QString title;
    QString text;
    int buttons = MsgOk;   // MessageButton bits offered
    int defaultButton = 0; // 0: the toolkit's choice
    QString okText;        // text of the Ok button when not the default one
    QString yesText, noText; // texts of the Yes and No buttons when not the default ones
};

// Returns the MessageButton pressed (MsgCancel or MsgNo when the box was closed without one).
using MessageHandler = int (*)(const MessageRequest &request);

// Installs a handler and returns the previous one; nullptr restores the default, which prints the
// box to standard error and answers with the default button (or the first offered).
MessageHandler setMessageHandler(MessageHandler handler);

int showMessage(const MessageRequest &request);
// A box that needs no answer, shown once the event loop runs, so that what is starting (the
// window, the link) goes on meanwhile. Without an application object it is shown at once; when
// its parent is gone by then, nobody is left to tell.
void postMessage(MessageKind kind, QObject *parent, const QString &title, const QString &text);
int showMessage(MessageKind kind, QObject *parent, const QString &title, const QString &text,
                int buttons = MsgOk, int defaultButton = 0);

} // namespace orba
