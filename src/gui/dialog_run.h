// The one road by which the system runs a modal dialog, so that tests can answer dialogs without
// an event loop of their own.
#pragma once

#include <functional>

class QDialog;

namespace orba {

using DialogHandler = std::function<int(QDialog *dialog)>;

// Installs a handler and returns the previous one; an empty handler restores exec().
DialogHandler setDialogHandler(DialogHandler handler);
// The dialog's result code (QDialog::Accepted or Rejected).
int runDialog(QDialog *dialog);

} // namespace orba
