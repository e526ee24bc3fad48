// Dialog screenshots for the documentation: rendered only when ORBA_SCREENSHOT_DIR names a folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace orba::test {

inline void screenshot(QWidget &w, const char *file)
{
    const QByteArray dir = qgetenv("ORBA_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(w.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(file))));
}

} // namespace orba::test
