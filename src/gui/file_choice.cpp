#include "gui/file_choice.h"

#include <QFileDialog>

#include <utility>

namespace orba {

namespace {
OpenFileHandler &handler()
{
    static OpenFileHandler installed;
    return installed;
}
SaveFileHandler &saveHandler()
{
    static SaveFileHandler installed;
    return installed;
}
} // namespace

OpenFileHandler setOpenFileHandler(OpenFileHandler next)
{
    return std::exchange(handler(), std::move(next));
}

QString chooseOpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    if (const OpenFileHandler &h = handler())
        return h(parent, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

SaveFileHandler setSaveFileHandler(SaveFileHandler next)
{
    return std::exchange(saveHandler(), std::move(next));
}

QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &proposed,
                       const QString &filter)
{
    if (const SaveFileHandler &h = saveHandler())
        return h(parent, caption, proposed, filter);
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

} // namespace orba
