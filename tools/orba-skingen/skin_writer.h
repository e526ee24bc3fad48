// SkinWriter: collects a skin's definitions, pictures and objects and writes the skin folder:
// "skin.xml" that includes the other files through XML external entities, "theme.xml" (colours,
// fonts, offsets, regions), "images.xml" (the pictures), one file per panel with its objects in
// the panel's list order, "screens.xml", and the PNG pictures under "images/", each with its
// double-size companion "NAME@2x.png" beside it.
#pragma once

#include "art.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <utility>

namespace orba::skingen {

// A tiny XML element builder: attributes in the order given, children indented.
class Element
{
public:
    explicit Element(QString name) : m_name(std::move(name)) {}
    Element &attr(const QString &name, const QString &value);
    Element &attr(const QString &name, int value) { return attr(name, QString::number(value)); }
    Element &child(const Element &e);
    QString text(int indent = 0) const;

private:
    QString m_name;
    QList<std::pair<QString, QString>> m_attrs;
    QList<Element> m_children;
};

// "images/knob.png" -> "images/knob@2x.png": where the double-size companion of a picture lies.
QString denseName(const QString &file);

class SkinWriter
{
public:
    explicit SkinWriter(QString folder);

    void colour(const QString &id, const QColor &c);
    void offset(const QString &id, const QString &value);
    void font(const QString &id, const QString &face, int size, bool bold, int space);
    void region(const QString &id, const QRect &r);
    void themeComment(const QString &text);

    // Registers a picture strip under `id` (the first registration of an id wins) and returns id.
    QString picture(const QString &id, const art::Art &image, int sections);
    bool hasPicture(const QString &id) const { return m_pictures.contains(id); }

    // An object of `screen` (-1 main) with its element.
    void object(const QString &id, int kind, int screen, const Element &element);
    // An image object placed on a panel (a screen background, the window background).
    void placedPicture(const QString &id, int screen, const art::Art &image, const QString &x,
                       const QString &y);

    // Objects without a panel (stock pictures for derived skins), written to "stock.xml".
    void stockObject(const QString &id, int kind, const Element &element);

    // Screens with their placements: every object of the panel, in list order.
    void screen(const QString &id, int number, const QString &title, const QString &image, const QString &x,
                const QString &y);

    // Checks that every bound object exists with its kind, then writes everything. On failure
    // `error` says what is missing or what could not be written.
    bool write(QString *error);

    // Written files, relative to the folder, in writing order (for reports).
    QStringList files() const { return m_files; }

private:
    struct Picture
    {
        QString file;
        int sections = 1;
        QImage image;
        QImage image2x;
    };
    struct Object
    {
        int kind = 0;
        int screen = 0;
        QString xml;
    };
    bool writeFile(const QString &relative, const QByteArray &bytes, QString *error);
    QString panelFile(int screen) const;

    QString m_folder;
    QStringList m_theme;
    QStringList m_pictureOrder;
    QMap<QString, Picture> m_pictures;
    QMap<QString, Object> m_objects;
    QStringList m_stockOrder;
    QMap<QString, QString> m_stock;
    QStringList m_screens;
    QStringList m_files;
};

} // namespace orba::skingen
