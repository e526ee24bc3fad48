// tcBenchMaster: the bench that loads a skin. It owns the skin's colours, fonts, offsets, regions
// and screens and runs the table-driven Expat loader over "skin.xml" and its included files. The
// object elements come from the vocabulary given at construction (the GUI library's, see
// gui/skin_elements.h); without one only the definitions load. One bench master loads one skin.
#pragma once

#include "skin/bench.h"
#include "skin/skin_source.h"
#include "skin/skin_vocabulary.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

struct SkinFont
{
    NameString name;
    QString face = QStringLiteral("Arial");
    QFont font;
    int angle = 0;
    int space = 10; // line step of multi-line captions
};

struct SkinPlacement
{
    NameString id;
    QString objref;
    QString meta;
    int xoffset = 0, yoffset = 0;
};

struct SkinScreen
{
    NameString id;
    QString meta, image, title;
    bool visible = false;
    int x = 0, y = 0, number = 0;
    std::vector<std::unique_ptr<SkinPlacement>> placements;
};

class tcBenchMaster : public tcBench
{
public:
    static constexpr int kMaxColours = 256;
    static constexpr int kMaxFonts = 64;
    static constexpr int kMaxOffsets = 10000;
    static constexpr int kMaxRegions = 1024;
    static constexpr int kParseDepth = 10;
    static constexpr int kFirstSerial = 10001;
    static constexpr int kMaxNumber = 1000000; // skin numbers are bounded to +-this
    // What one load may read, well above the default skin's dozen files and few hundred kilobytes:
    // included files count at every reference, so a file referenced many times over is bounded too.
    static constexpr int kMaxIncludedFiles = 256;
    static constexpr qint64 kMaxSkinTextBytes = 32 * 1024 * 1024;    // skin file and included files
    static constexpr qint64 kMaxSkinPictureBytes = 64 * 1024 * 1024; // distinct picture files
    static constexpr qint64 kPictureHeadBytes = 64;                  // enough for a PNG's size

    // A skin folder on disk, or any other source of the skin's files.
    tcBenchMaster(const QString &skinFolder, const SkinVocabulary *objects = nullptr);
    tcBenchMaster(std::shared_ptr<const orba::skin::SkinSource> source,
                  const SkinVocabulary *objects = nullptr);
    ~tcBenchMaster() override;

    // Reads "skin.xml" of the skin: 0 on success, negative on failure.
    virtual int loadSkin();
    // Why the last load failed, for the user; empty when it did not, or when the skin file is
    // simply missing.
    QString loadFailure() const { return m_failure; }
    const SkinFont *findFont(const char *name) const override;
    void clear() override;

    const SkinScreen *findScreen(const NameString &id) const;
    const std::vector<std::unique_ptr<SkinScreen>> &screens() const { return m_screens; }

    // The skin folder, or the packed file the skin comes from.
    QString skinFolder() const { return m_source->location(); }
    QString skinFile() const;
    const orba::skin::SkinSource &source() const { return *m_source; }

    // Table lookups, for tests and tools; none (or false) for unknown names.
    bool colour(const char *name, QRgb *value) const;
    bool offset(const char *name, int32_t *value) const;
    bool region(const char *name, QRect *value) const;
    int colourCount() const { return m_colourCount; }
    int fontCount() const { return static_cast<int>(m_fonts.size()); }
    int offsetCount() const { return m_offsetCount; }
    int regionCount() const { return m_regionCount; }

    // Value syntax, as the attribute handlers use it (messages carry the current line); numbers
    // are bounded to +-kMaxNumber.
    int number(const char *text);
    int expression(const char *text);
    QRgb colourValue(const char *text) const;
    // The bytes of a picture file of the skin (or of the shared images); empty, with a message,
    // when it cannot be had. Each file is read once per load.
    QByteArray pictureData(const char *file);
    // A picture's companion for dense screens: its first bytes now, to tell its size; empty when
    // there is none (no message: a missing companion is no fault). The reader fetches the whole
    // file when it is first drawn, on any thread, for as long as the reader lives.
    QByteArray pictureHead(const QString &file);
    std::function<QByteArray()> pictureReader(const QString &file) const;
    // The load's error for a picture that cannot be had, on the current line.
    void reportPicture(const QString &file, orba::skin::SourceStatus status);
    int currentLine() const;

    // Parse state shared with the object handlers.
    int takeSerial() { return m_serial++; }
    tcBenchObject *findObject(const char *id) const { return tcBench::findObject(NameString(id)); }
    using tcBench::findObject;

private:
    struct ColourSlot
    {
        NameString name;
        QRgb value = 0xFF000000u;
    };
    struct OffsetSlot
    {
        NameString name;
        int32_t value = 0;
    };
    struct RegionSlot
    {
        NameString name;
        QRect rect{0, 0, 100, 100};
    };
    friend struct SkinCoreHandlers;
    friend class SkinParser;

protected:
    // Reports a message that fails the load; the first one is kept as the reason.
    void fail(const char *format, ...);

private:
    void resetTables();
    void addDefaultFonts();
    int findColourSlot(const NameString &name) const;
    int findOffsetSlot(const char *name, size_t length) const;
    int findRegionSlot(const NameString &name) const;
    SkinFont *findFontRecord(const NameString &name) const;
    void buildElementIndex(const SkinVocabulary *objects);
    const SkinElement *findElement(int parentKind, const char *name) const;

    std::shared_ptr<const orba::skin::SkinSource> m_source;
    QString m_failure;
    QHash<QString, QByteArray> m_pictures; // read during a load, dropped at its end
    qint64 m_pictureBytes = 0;
    std::vector<ColourSlot> m_colours;
    std::vector<OffsetSlot> m_offsets;
    std::vector<RegionSlot> m_regions;
    std::vector<std::unique_ptr<SkinFont>> m_fonts;
    std::vector<std::unique_ptr<SkinScreen>> m_screens;
    int m_colourCount = 0, m_offsetCount = 0, m_regionCount = 0;
    int m_serial = kFirstSerial;
    std::unordered_map<int, std::vector<const SkinElement *>> m_elements;
    class SkinParser *m_parser = nullptr; // only during loadSkin
};
