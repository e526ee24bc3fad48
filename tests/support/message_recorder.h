// Records every message box the code under test asks for and answers it from a queue, so a test
// can check titles and texts and choose Yes or No.
#pragma once

#include "common/message.h"

#include <QString>

#include <deque>
#include <utility>
#include <vector>

namespace orba::test {

// The title and text of a box.
using Box = std::pair<QString, QString>;

struct RecordedMessage
{
    MessageKind kind;
    QString title;
    QString text;
    int buttons;
    QString yesText, noText;
};

class MessageRecorder
{
public:
    MessageRecorder();  // installs itself
    ~MessageRecorder(); // restores the previous handler

    // Answers for the next boxes, in order; when none is queued the default button (or the first
    // offered) is pressed.
    void answer(int button) { m_answers.push_back(button); }

    const std::vector<RecordedMessage> &messages() const { return m_messages; }
    bool empty() const { return m_messages.empty(); }
    const RecordedMessage &last() const { return m_messages.back(); }
    // Title and text of the one box shown; two empty texts unless exactly one was.
    Box only() const { return m_messages.size() == 1 ? Box(m_messages[0].title, m_messages[0].text) : Box(); }
    void clear() { m_messages.clear(); }

private:
    static int handle(const MessageRequest &request);
    std::vector<RecordedMessage> m_messages;
    std::deque<int> m_answers;
    MessageHandler m_previous;
};

} // namespace orba::test
