#include "message_recorder.h"

namespace orba::test {

namespace {
MessageRecorder *g_current = nullptr;
}

MessageRecorder::MessageRecorder()
{
    m_previous = setMessageHandler(&MessageRecorder::handle);
    g_current = this;
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler(m_previous);
    g_current = nullptr;
}

int MessageRecorder::handle(const MessageRequest &r)
{
    MessageRecorder *self = g_current;
    if (!self)
        return MsgOk;
    self->m_messages.push_back({r.kind, r.title, r.text, r.buttons, r.yesText, r.noText});
    if (!self->m_answers.empty()) {
        const int a = self->m_answers.front();
        self->m_answers.pop_front();
        return a;
    }
    if (r.defaultButton)
        return r.defaultButton;
    for (int b : {MsgOk, MsgYes, MsgNo, MsgCancel})
        if (r.buttons & b)
            return b;
    return MsgOk;
}

} // namespace orba::test
