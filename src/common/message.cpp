#include "common/message.h"

#include <QCoreApplication>
#include <QPointer>

#include <atomic>
#include <cstdio>

namespace orba {

namespace {

int firstOffered(int buttons)
{
    for (int b : {MsgOk, MsgYes, MsgNo, MsgCancel})
        if (buttons & b)
            return b;
    return MsgOk;
}

int defaultHandler(const MessageRequest &r)
{
    std::fprintf(stderr, "[%s] %s\n", qPrintable(r.title), qPrintable(r.text));
    return r.defaultButton ? r.defaultButton : firstOffered(r.buttons);
}

std::atomic<MessageHandler> g_handler{nullptr};

} // namespace

MessageHandler setMessageHandler(MessageHandler handler)
{
    return g_handler.exchange(handler);
}

int showMessage(const MessageRequest &request)
{
    MessageHandler h = g_handler.load();
    return h ? h(request) : defaultHandler(request);
}

int showMessage(MessageKind kind, QObject *parent, const QString &title, const QString &text, int buttons,
                int defaultButton)
{
    MessageRequest r;
    r.kind = kind;
    r.parent = parent;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    return showMessage(r);
}

void postMessage(MessageKind kind, QObject *parent, const QString &title, const QString &text)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application) {
        showMessage(kind, parent, title, text);
        return;
    }
    const QPointer<QObject> guard(parent);
    const bool hadParent = parent != nullptr;
    QMetaObject::invokeMethod(
        application,
        [=] {
            if (!hadParent || guard)
                showMessage(kind, guard.data(), title, text);
        },
        Qt::QueuedConnection);
}

} // namespace orba
