// Skins written into the test's own folder and loaded into a plain bench hosted by a real widget.
#pragma once

#include "skin/plain_bench.h"
#include "skin/vorud_widget.h"
#include "support/test_files.h"
#include "support/work_dir.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <climits>
#include <memory>

namespace orba::test {

void writeText(const QString &path, const QByteArray &text);

// A picture of `sections` frames side by side, each `w` x `h`, frame k filled with colours[k % n].
void writePng(const QString &path, int w, int h, int sections, const QList<QColor> &colours);

// A picture whose frame k is filled with a colour that encodes k (red = 10 * k + 5), so a grabbed
// pixel tells which frame was drawn.
void writeIndexedPng(const QString &path, int w, int h, int sections);
int sectionOfPixel(QRgb pixel);

class SkinTest : public WorkDirTest
{
protected:
    // Writes skin/skin.xml (wrapped in <skin> ... </skin> unless `whole`) and loads it.
    int loadSkin(const QByteArray &body, bool whole = false, const SkinVocabulary *vocabulary = nullptr);
    QString skinDir() const { return path(QStringLiteral("skin")); }
    QString skinPath(const QString &name) const;
    tcPlainBench &bench() { return *m_bench; }
    // A colour by id, or 1 (no colour: their alpha is always full) when there is none.
    QRgb colourOf(const char *id)
    {
        QRgb c = 1;
        return bench().colour(id, &c) ? c : 1;
    }
    // An offset by id, or the lowest int when there is none.
    int32_t offsetOf(const char *id)
    {
        int32_t v = 0;
        return bench().offset(id, &v) ? v : INT32_MIN;
    }
    tcVORudWidget &host() { return *m_host; }
    bool hasMessage(const QString &part) const;
    int countMessages(const QString &part) const;
    // Renders the host widget into an image.
    QImage grab();

    void TearDown() override;

    std::unique_ptr<tcVORudWidget> m_host;
    tcPlainBench *m_bench = nullptr; // owned by the host
};

} // namespace orba::test
