// Answers every dialog the system runs while it lives, then puts the previous handler back.
#pragma once

#include "gui/dialog_run.h"

#include <QDialog>

namespace orba::test {

// `answer` is called with each dialog of type T and returns its result code; other dialogs are
// rejected.
template <class T = QDialog> class DialogAnswer
{
public:
    explicit DialogAnswer(std::function<int(T &)> answer = {}) : answer(std::move(answer))
    {
        m_previous = setDialogHandler([this](QDialog *d) {
            T *t = qobject_cast<T *>(d);
            return t && this->answer ? this->answer(*t) : int(QDialog::Rejected);
        });
    }
    ~DialogAnswer() { setDialogHandler(m_previous); }
    DialogAnswer(const DialogAnswer &) = delete;
    DialogAnswer &operator=(const DialogAnswer &) = delete;

    std::function<int(T &)> answer;

private:
    DialogHandler m_previous;
};

} // namespace orba::test
