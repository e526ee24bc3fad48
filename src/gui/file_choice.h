// The one road by which the system asks the user for a file to open, so that tests can answer the
// file dialog as they answer message boxes and modal dialogs.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace orba {

// Returns the chosen path, or an empty text when the user cancels.
using OpenFileHandler = std::function<QString(QWidget *parent, const QString &caption, const QString &dir,
                                              const QString &filter)>;

// Installs a handler and returns the previous one; an empty handler restores the toolkit's dialog.
OpenFileHandler setOpenFileHandler(OpenFileHandler handler);
QString chooseOpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);

// The same for a file to write: proposed is the path offered; empty when the user cancels.
using SaveFileHandler = std::function<QString(QWidget *parent, const QString &caption,
                                              const QString &proposed, const QString &filter)>;
SaveFileHandler setSaveFileHandler(SaveFileHandler handler);
QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &proposed,
                       const QString &filter);

} // namespace orba
