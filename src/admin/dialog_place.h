// Shared look and placement of the application's small dialogs: no context-help button, the
// application icon, and centred over the parent widget.
#pragma once

class QDialog;
class QHBoxLayout;
class QWidget;

namespace orba {

// Clears the context-help flag and takes the application's icon.
void prepareDialog(QWidget *dialog);
// Centres the dialog over its parent's rectangle in global coordinates; with clampTo50 neither
// edge goes left of or above 50. Does nothing without a parent.
void centreOverParent(QWidget *dialog, const QWidget *parent, bool clampTo50 = false);

// A row with "OK" (the default button) and "Cancel" at its right, wired to accept and reject.
QHBoxLayout *okCancelRow(QDialog *dialog);

} // namespace orba
