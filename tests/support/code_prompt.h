// Answers the unlock prompt with a code, counting the prompts and keeping their titles.
#pragma once

#include "admin/access_dlgs.h"

#include <QLineEdit>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

namespace orba::test {

struct CodePrompts
{
    int count = 0;
    QStringList titles;

    std::function<int(QDialog *)> answer(const QString &code)
    {
        return [this, code](QDialog *d) {
            auto *prompt = qobject_cast<tcGuiLockCheckDlg *>(d);
            EXPECT_NE(prompt, nullptr);
            if (!prompt)
                return int(QDialog::Rejected);
            ++count;
            titles << prompt->windowTitle();
            prompt->codeEdit()->setText(code);
            prompt->accept();
            return prompt->result();
        };
    }
};

} // namespace orba::test
