// Pictures decoded while the application starts, on a thread of idle priority: whatever core the
// splash, the window and the display server leave unused does work the first paint would do.
#pragma once

#include <QByteArray>
#include <QImage>

#include <functional>
#include <vector>

namespace orba::gui {

class EarlyPictures
{
public:
    // Lists the encoded pictures (on the new thread) and decodes them in that order. Only one runs
    // at a time; a second start while one runs is ignored.
    static void start(std::function<std::vector<QByteArray>()> list);
    // The picture decoded from exactly these bytes, once; a null image when it is not listed or
    // not finished yet, which is then left to the caller alone. Never waits.
    static QImage take(const QByteArray &bytes);
    // Decodes nothing more after the picture in hand; what is decoded stays to be taken.
    static void stop();
    // Drops every picture nobody took and lets the thread end after the picture in hand, waiting
    // for that at most `waitMs` (at exit, so nothing of it outlives the program's own data).
    static void finish(int waitMs = 0);
    static bool running();
    // Waits until the thread has gone through its list (for tests: what take() finds is then fixed).
    static void waitUntilListDone();
};

} // namespace orba::gui
