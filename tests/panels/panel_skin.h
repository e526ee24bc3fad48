// A compact skin for panel and main-window tests: a plain background and, on a grid, every object
// of the binding table a test can see or press, each of the kind the panels expect; the main
// panel's objects take the top rows and each screen's objects share the rows below. Pictures encode their
// frame number (see writeIndexedPng), so a grabbed pixel tells which frame an object shows.
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
