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

} // namespace orba
