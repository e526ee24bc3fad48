// Renders a skin the way the application shows it: the main panel plus one processing screen,
// loaded with the real loader into a plain bench and painted through the bench. The objects are
// put into a fixed demonstration state first (values, texts, lamps, meter levels), the state the
// panels would give them after reading a processor, so that a picture shows a working console.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;
class tcPlainBench;

namespace orba::skinshot {

// Loads `folder` with the GUI objects' vocabulary, hosted by `host` (every object gets it as its
// host widget). Returns none when the load fails; `messages` receives every loader message.
std::unique_ptr<tcPlainBench> loadSkin(const QString &folder, QWidget *host, QStringList *messages);

// Shows the main panel and the objects of `screen` (0, 1, 2, 4, 5, 6, 7), hides every other
// object, and applies the demonstration state with `screen` as the screen on display.
void showScreen(tcPlainBench &bench, int screen);

// Paints the whole window at `scale` (1.0, 1.5, ...), as the host widget paints it.
QImage render(tcPlainBench &bench, double scale);

} // namespace orba::skinshot
