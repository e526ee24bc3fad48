// A compact skin for panel and main-window tests: a plain background and every bound object a test can
// see or press, on a grid; pictures encode their frame number, so a grabbed pixel tells the frame shown.
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace orba::test {

constexpr QRgb kPanelSkinBackground = 0xFF203040u;

// Writes "skin.xml" and its pictures into the folder (created when missing).
void writePanelSkin(const QString &folder, bool withBackground = true, const QStringList &leaveOut = {});
// Where the skin puts an object's top-left (skin coordinates), or (-1, -1) for an unknown name.
QPoint panelSkinPosition(const char *name);

} // namespace orba::test
