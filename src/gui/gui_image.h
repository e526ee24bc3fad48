// tcGuiImage: a picture of the skin, cut into equal sections side by side. Every other object draws
// its pictures through one; as a screen picture it draws itself whole. Sections that cannot be
// drawn (no picture, index out of range) show the missing-picture mark.
//
// The load reads only the picture's size; the pixels are decoded when it is first drawn, so a
// start shows its first screen without decoding the pictures of the others (and the first paint
// decodes those of its screen on every core, see setCollecting). On a painter that
// scales (a skin scale, a high-density screen) each section is resampled once for that scale, on
// its own so that no neighbour bleeds into its edges, and drawn 1:1 at device pixels.
//
// A picture may come with a companion of twice its size ("knob@2x.png" beside "knob.png"), painted
// for dense screens. From a device scale of 1.5 on, the sections are prepared from it instead of
// upsampled from the picture; its bytes are decoded only then, and again for each new scale.
#pragma once

#include "gui/gui_object.h"

#include <QImage>
#include <QPixmap>
#include <QTransform>

#include <algorithm>
#include <functional>
#include <vector>

class tcGuiImage : public tcGuiObject
{
public:
    tcGuiImage(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    bool acceptsLeftClick() const override { return false; }
    void draw(QPainter &painter) override;

    // The picture file's name in the skin and its bytes, decoded when first drawn.
    void setPicture(const QString &file, const QByteArray &data)
    {
        m_file = file;
        m_data = data;
    }
    QString file() const { return m_file; }
    // The companion of twice the size: its first bytes, checked against the picture's size at
    // load, and what reads the whole file when it is first wanted (on any thread).
    void setDensePicture(const QString &file, const QByteArray &head, std::function<QByteArray()> reader)
    {
        m_denseFile = file;
        m_denseHead = head;
        m_denseReader = std::move(reader);
    }
    // A companion of the right size is there for dense screens.
    bool hasDense() const { return bool(m_denseReader); }
    // The device scale from which sections are prepared from the companion.
    static constexpr double kDenseFrom = 1.5;
    void setSections(int n) { m_sections = n; }
    int sectionCount() const { return m_sections < 1 ? 1 : m_sections; }
    void setTransparentColour(QRgb colour)
    {
        m_transparent = colour;
        m_hasTransparent = true;
    }
    // A picture of a readable size; its pixels may still wait for the first draw.
    bool hasPixmap() const { return !m_size.isEmpty(); }
    // The pixels at the picture's own size (decoded now if they were not yet).
    const QPixmap &pixmap() const;
    bool decoded() const { return m_decoded; }
    // Every pixel drawn fully opaque; false until the picture is decoded.
    bool isOpaque() const;
    int sectionWidth() const { return width() / sectionCount(); }

    void drawSection(QPainter &painter, int x, int y, int k) const;
    void drawSectionPart(QPainter &painter, int x, int y, int k, int sx, int sy, int sw, int sh) const;
    void drawWhole(QPainter &painter, int x, int y) const;
    void drawStretched(QPainter &painter, int x, int y, int w, int h) const;

    static void drawMissingMark(QPainter &painter, int x, int y);

    // While a list is set, the draws of pictures not decoded yet only add them to it: a paint
    // made that way tells which pictures the real one needs (none: stop collecting).
    struct Use
    {
        const tcGuiImage *picture = nullptr;
        double sx = 0, sy = 0, ratio = 1; // a painter that scales: the scale to prepare for
    };
    static void setCollecting(std::vector<Use> *pictures);
    static bool collecting();
    // While on, a draw that would decode a companion draws resampled from the picture instead and
    // leaves the companion for later (a window's first paints); whether any did since it was last
    // turned on or off.
    static void deferCompanions(bool on);
    static bool companionsDeferred();
    // Decodes those pictures, and prepares them for the scale they are drawn at, on every core
    // at once (a first paint needs many). Without `dense`, pictures with a companion are only
    // decoded, and stand in until a later pass prepares them from it; returns whether any was.
    static bool decodeTogether(std::vector<Use> uses, bool dense = true);

private:
    struct Prepared
    {
        double sx = 0, sy = 0;
        int sectionW = 0, h = 0; // one section at device pixels
        QPixmap strip;           // the sections side by side, each scaled on its own
    };
    int sectionLeft(int k) const;
    // At load: a companion that is not twice the picture's size is dropped, with a warning.
    void checkDense();
    // A companion that does not decode is dropped, with a warning; the picture is scaled instead.
    void dropDense() const;
    void decode() const;
    // The GUI-thread end of a decode: the pixels become the picture.
    void adopt(QImage image) const;
    // In a collecting paint: notes what this draw needs (its sections prepared, unless `sections`
    // is false for a stretched draw, which makes its own) and says not to draw.
    bool collected(const QPainter &painter, bool sections = true) const;
    // Section size at device pixels; the sections side by side, each resampled on its own.
    static QSize preparedSection(QSize size, int n, double sx, double sy);
    static QImage scaleSections(const QImage &source, int n, QSize section);
    // True when a painter of this device scale takes its sections from the companion.
    bool wantsDense(double sx, double sy) const { return hasDense() && std::max(sx, sy) >= kDenseFrom; }
    // The companion's pixels, colour-keyed as the picture; null when they cannot be had.
    QImage decodeDense() const;
    // The source to prepare sections from for a device scale: the companion or the picture.
    QImage preparedSource(double sx, double sy) const;
    void adoptPrepared(QImage strip, double sx, double sy, double ratio) const;
    // The sections for a device transform, as pixmaps of the screen's pixel ratio.
    const Prepared &prepared(const QTransform &device, double ratio) const;
    // The part (x, y, w, h) of section k, in skin pixels, drawn at skin (x0, y0) at device pixels.
    void drawPreparedPart(QPainter &painter, const QTransform &device, int x0, int y0, int k, int x, int y,
                          int w, int h) const;
    // While companions wait for the pass after the first paint: true when this picture has nothing
    // `ready` for this device scale, and is drawn resampled from its own pixels meanwhile.
    bool standsIn(double sx, double sy, bool ready) const;

    QString m_file;
    mutable QByteArray m_data;
    QString m_denseFile;
    QByteArray m_denseHead; // dropped after the load's check
    // Nothing of the companion stays in memory: read and decoded for each new scale that wants it.
    mutable std::function<QByteArray()> m_denseReader;
    mutable QSize m_size;
    mutable QPixmap m_pixmap;
    mutable bool m_decoded = false;
    mutable Prepared m_prepared;
    mutable QPixmap m_stretched; // the last stretched size at device pixels
    int m_sections = 1;
    bool m_hasTransparent = false;
    QRgb m_transparent = 0xFF000000u;
    bool m_tried = false;
};
