#include "gui/dialog_run.h"

#include <QDialog>

#include <utility>

namespace orba {

namespace {
DialogHandler &handler()
{
    static DialogHandler installed;
    return installed;
}
} // namespace

DialogHandler setDialogHandler(DialogHandler next)
{
    return std::exchange(handler(), std::move(next));
}

int runDialog(QDialog *dialog)
{
    if (const DialogHandler &h = handler())
        return h(dialog);
    return dialog->exec();
}

} // namespace orba
