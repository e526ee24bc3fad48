// tcBenchMaster: the bench that loads a skin. It owns the skin's colours, fonts, offsets, regions
// and screens and runs the table-driven Expat loader over "skin.xml" and its included files. The
// object elements come from the vocabulary given at construction (the GUI library's, see
// gui/skin_elements.h); without one only the definitions load. One bench master loads one skin.
#pragma once

#include "skin/bench.h"
#include "skin/skin_vocabulary.h"

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>

#include <cstdint>
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
    static constexpr int kBufferSize = 10000;
    static constexpr int kFirstSerial = 10001;
    static constexpr int kMaxNumber = 1000000; // skin numbers are bounded to +-this

    tcBenchMaster(const QString &skinFolder, const SkinVocabulary *objects = nullptr);
    ~tcBenchMaster() override;

    // Reads "skin.xml" of the skin folder: 0 on success, negative on failure.
    virtual int loadSkin();
    const SkinFont *findFont(const char *name) const override;
    void clear() override;

    const SkinScreen *findScreen(const NameString &id) const;
    const std::vector<std::unique_ptr<SkinScreen>> &screens() const { return m_screens; }

    QString skinFolder() const { return m_skinFolder; }
    QString skinFile() const { return m_skinFile; }

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
    // The picture path: relative to the skin folder, else "skin_images" two levels above it.
    QString imagePath(const char *file) const;
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

    void resetTables();
    void addDefaultFonts();
    int findColourSlot(const NameString &name) const;
    int findOffsetSlot(const char *name, size_t length) const;
    int findRegionSlot(const NameString &name) const;
    SkinFont *findFontRecord(const NameString &name) const;
    void buildElementIndex(const SkinVocabulary *objects);
    const SkinElement *findElement(int parentKind, const char *name) const;

    QString m_skinFolder, m_skinFile;
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
