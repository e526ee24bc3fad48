// tcGuiImage: a picture of the skin, cut into equal sections side by side. Every other object draws
// its pictures through one; as a screen picture it draws itself whole. Sections that cannot be
// drawn (no pixmap, index out of range) show the missing-picture mark.
#pragma once

#include "gui/gui_object.h"

#include <QPixmap>

class tcGuiImage : public tcGuiObject
{
public:
    tcGuiImage(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    bool acceptsLeftClick() const override { return false; }
    void draw(QPainter &painter) override;

    // The picture file's name in the skin and its bytes, decoded when the load ends.
    void setPicture(const QString &file, const QByteArray &data)
    {
        m_file = file;
        m_data = data;
    }
    QString file() const { return m_file; }
    void setSections(int n) { m_sections = n; }
    int sectionCount() const { return m_sections < 1 ? 1 : m_sections; }
    void setTransparentColour(QRgb colour)
    {
        m_transparent = colour;
        m_hasTransparent = true;
    }
    bool hasPixmap() const { return !m_pixmap.isNull(); }
    const QPixmap &pixmap() const { return m_pixmap; }
    int sectionWidth() const { return width() / sectionCount(); }

    void drawSection(QPainter &painter, int x, int y, int k) const;
    void drawSectionPart(QPainter &painter, int x, int y, int k, int sx, int sy, int sw, int sh) const;
    void drawWhole(QPainter &painter, int x, int y) const;
    void drawStretched(QPainter &painter, int x, int y, int w, int h) const;

    static void drawMissingMark(QPainter &painter, int x, int y);

private:
    int sectionLeft(int k) const;

    QString m_file;
    QByteArray m_data;
    QPixmap m_pixmap;
    int m_sections = 1;
    bool m_hasTransparent = false;
    QRgb m_transparent = 0xFF000000u;
    bool m_tried = false;
};
