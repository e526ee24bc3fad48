#include "skin/bench_master.h"

#include "skin/skin_report.h"
#include "skin/skin_values.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

void setFontSize(SkinFont &font, int size)
{
    // Skin sizes are nominal: the pixel size is three less, never below five; absurd sizes are
    // bounded so a broken skin cannot ask the font engine for giant glyphs.
    font.font.setPixelSize(std::min(std::max(size, 8), 1000) - 3);
}

SkinFont *newFont(const char *name, const QString &face, int size, int space)
{
    auto *font = new SkinFont;
    font->name = name;
    font->face = face;
    font->font.setFamily(face);
    setFontSize(*font, size);
    font->font.setBold(false);
    font->font.setItalic(false);
    font->space = space;
    return font;
}

} // namespace

// Handlers of the definition elements; they reach the tables as a friend.
struct SkinCoreHandlers
{
    static bool colourStart(tcBenchMaster &b, const SkinParseFrame &, SkinParseFrame &f, const char *,
                            const char *id)
    {
        const NameString name(id);
        int slot = b.findColourSlot(name);
        if (slot < 0) {
            if (b.m_colourCount >= tcBenchMaster::kMaxColours) {
                b.report("ERROR: Maximimum number of COLOR objects exceeded");
                return false;
            }
            slot = b.m_colourCount++;
            b.m_colours[slot].name = name;
            b.m_colours[slot].value = orba::skin::kOpaqueBlack;
        }
        f.target = &b.m_colours[slot];
        return true;
    }
    static void colourRgb(tcBenchMaster &b, SkinParseFrame &f, const char *v)
    {
        static_cast<tcBenchMaster::ColourSlot *>(f.target)->value = b.colourValue(v);
    }

    static bool offsetStart(tcBenchMaster &b, const SkinParseFrame &, SkinParseFrame &f, const char *,
                            const char *id)
    {
        int slot = b.findOffsetSlot(id, std::strlen(id));
        if (slot < 0) {
            if (b.m_offsetCount >= tcBenchMaster::kMaxOffsets) {
                b.report("ERROR: Maximimum number of OFFSET objects exceeded");
                return false;
            }
            slot = b.m_offsetCount++;
            b.m_offsets[slot].name = id;
            b.m_offsets[slot].value = 0;
        }
        f.target = &b.m_offsets[slot];
        return true;
    }
    static void offsetValue(tcBenchMaster &b, SkinParseFrame &f, const char *v)
    {
        static_cast<tcBenchMaster::OffsetSlot *>(f.target)->value = b.expression(v);
    }

    static bool regionStart(tcBenchMaster &b, const SkinParseFrame &, SkinParseFrame &f, const char *,
                            const char *id)
    {
        const NameString name(id);
        int slot = b.findRegionSlot(name);
        if (slot < 0) {
            if (b.m_regionCount >= tcBenchMaster::kMaxRegions) {
                b.report("ERROR: Maximimum number of REGION objects exceeded");
                return false;
            }
            slot = b.m_regionCount++;
            b.m_regions[slot].name = name;
            b.m_regions[slot].rect = QRect(0, 0, 100, 100);
        }
        f.target = &b.m_regions[slot];
        return true;
    }
    static QRect &rect(SkinParseFrame &f) { return static_cast<tcBenchMaster::RegionSlot *>(f.target)->rect; }
    static void regionX(tcBenchMaster &b, SkinParseFrame &f, const char *v) { rect(f).moveLeft(b.number(v)); }
    static void regionY(tcBenchMaster &b, SkinParseFrame &f, const char *v) { rect(f).moveTop(b.number(v)); }
    static void regionW(tcBenchMaster &b, SkinParseFrame &f, const char *v) { rect(f).setWidth(b.number(v)); }
    static void regionH(tcBenchMaster &b, SkinParseFrame &f, const char *v)
    {
        rect(f).setHeight(b.number(v));
    }

    static bool fontStart(tcBenchMaster &b, const SkinParseFrame &, SkinParseFrame &f, const char *,
                          const char *id)
    {
        SkinFont *font = b.findFontRecord(NameString(id));
        if (!font) {
            if (static_cast<int>(b.m_fonts.size()) >= tcBenchMaster::kMaxFonts) {
                b.report("ERROR: Maximimum number of FONT objects exceeded");
                return false;
            }
            font = newFont(id, QStringLiteral("Arial"), 14, 10);
            b.m_fonts.emplace_back(font);
        }
        f.target = font;
        return true;
    }
    static SkinFont &font(SkinParseFrame &f) { return *static_cast<SkinFont *>(f.target); }
    static void fontFace(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        font(f).face = QString::fromUtf8(v);
        font(f).font.setFamily(font(f).face);
    }
    static void fontSize(tcBenchMaster &b, SkinParseFrame &f, const char *v)
    {
        setFontSize(font(f), b.number(v));
    }
    static void fontBold(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        font(f).font.setBold(orba::skin::numberFlag(v));
    }
    static void fontItalic(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        font(f).font.setItalic(orba::skin::numberFlag(v));
    }
    static void fontAngle(tcBenchMaster &b, SkinParseFrame &f, const char *v) { font(f).angle = b.number(v); }
    static void fontSpace(tcBenchMaster &b, SkinParseFrame &f, const char *v) { font(f).space = b.number(v); }

    static bool screenStart(tcBenchMaster &b, const SkinParseFrame &, SkinParseFrame &f, const char *,
                            const char *id)
    {
        const NameString name(id);
        SkinScreen *screen = nullptr;
        for (auto &s : b.m_screens) {
            if (s->id == name) {
                screen = s.get();
                break;
            }
        }
        if (!screen) {
            b.m_screens.push_back(std::make_unique<SkinScreen>());
            screen = b.m_screens.back().get();
            screen->id = name;
        }
        f.target = screen;
        return true;
    }
    static SkinScreen &screen(SkinParseFrame &f) { return *static_cast<SkinScreen *>(f.target); }
    static void screenVisible(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        screen(f).visible = orba::skin::numberFlag(v);
    }
    static void screenImage(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        screen(f).image = QString::fromUtf8(v);
    }
    static void screenMeta(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        screen(f).meta = QString::fromUtf8(v);
    }
    static void screenTitle(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        screen(f).title = QString::fromUtf8(v);
    }
    static void screenNumber(tcBenchMaster &b, SkinParseFrame &f, const char *v)
    {
        screen(f).number = b.number(v);
    }
    static void screenX(tcBenchMaster &b, SkinParseFrame &f, const char *v) { screen(f).x = b.number(v); }
    static void screenY(tcBenchMaster &b, SkinParseFrame &f, const char *v) { screen(f).y = b.number(v); }

    static bool objStart(tcBenchMaster &, const SkinParseFrame &parent, SkinParseFrame &f, const char *,
                         const char *id)
    {
        auto *scr = static_cast<SkinScreen *>(parent.target);
        const NameString name(id);
        for (auto &p : scr->placements) {
            if (p->id == name) {
                f.target = p.get();
                return true;
            }
        }
        scr->placements.push_back(std::make_unique<SkinPlacement>());
        scr->placements.back()->id = name;
        f.target = scr->placements.back().get();
        return true;
    }
    static SkinPlacement &obj(SkinParseFrame &f) { return *static_cast<SkinPlacement *>(f.target); }
    static void objRef(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        obj(f).objref = QString::fromUtf8(v);
    }
    static void objMeta(tcBenchMaster &, SkinParseFrame &f, const char *v)
    {
        obj(f).meta = QString::fromUtf8(v);
    }
    static void objX(tcBenchMaster &b, SkinParseFrame &f, const char *v) { obj(f).xoffset = b.number(v); }
    static void objY(tcBenchMaster &b, SkinParseFrame &f, const char *v) { obj(f).yoffset = b.number(v); }

    static bool skinStart(tcBenchMaster &, const SkinParseFrame &, SkinParseFrame &, const char *,
                          const char *)
    {
        return true;
    }
};

namespace {
using H = SkinCoreHandlers;
const SkinAttr kColourAttrs[] = {{"rgb", &H::colourRgb}};
const SkinAttr kOffsetAttrs[] = {{"value", &H::offsetValue}};
const SkinAttr kRegionAttrs[] = {
    {"x", &H::regionX}, {"y", &H::regionY}, {"w", &H::regionW}, {"h", &H::regionH}};
const SkinAttr kFontAttrs[] = {{"face", &H::fontFace},   {"size", &H::fontSize},
                               {"bold", &H::fontBold},   {"italic", &H::fontItalic},
                               {"angle", &H::fontAngle}, {"space", &H::fontSpace}};
const SkinAttr kScreenAttrs[] = {{"visible", &H::screenVisible},
                                 {"image", &H::screenImage},
                                 {"meta", &H::screenMeta},
                                 {"title", &H::screenTitle},
                                 {"number", &H::screenNumber},
                                 {"x", &H::screenX},
                                 {"y", &H::screenY}};
const SkinAttr kObjAttrs[] = {
    {"objref", &H::objRef}, {"meta", &H::objMeta}, {"xoffset", &H::objX}, {"yoffset", &H::objY}};

const SkinElement kCoreElements[] = {
    {kSkinKindDocument, "skin", kSkinKindSkin, false, &H::skinStart, nullptr, 0},
    {kSkinKindSkin, "color", kSkinKindColor, true, &H::colourStart, kColourAttrs, skinCount(kColourAttrs)},
    {kSkinKindSkin, "offset", kSkinKindOffset, true, &H::offsetStart, kOffsetAttrs, skinCount(kOffsetAttrs)},
    {kSkinKindSkin, "region", kSkinKindRegion, true, &H::regionStart, kRegionAttrs, skinCount(kRegionAttrs)},
    {kSkinKindSkin, "font", kSkinKindFont, true, &H::fontStart, kFontAttrs, skinCount(kFontAttrs)},
    {kSkinKindSkin, "screen", kSkinKindScreen, true, &H::screenStart, kScreenAttrs, skinCount(kScreenAttrs)},
    {kSkinKindScreen, "obj", kSkinKindObj, true, &H::objStart, kObjAttrs, skinCount(kObjAttrs)},
};

bool lookupOffset(void *context, const char *name, int length, int32_t *value)
{
    auto *bench = static_cast<tcBenchMaster *>(context);
    const QByteArray key(name, length);
    return bench->offset(key.constData(), value);
}

void reportMissing(void *context, const char *name, int length)
{
    auto *bench = static_cast<tcBenchMaster *>(context);
    const QByteArray key(name, length);
    bench->report("ERROR: Could not find a definition for offset \"%s\" on line %d of the skin file.",
                  key.constData(), bench->currentLine());
}

} // namespace

tcBenchMaster::tcBenchMaster(const QString &skinFolder, const SkinVocabulary *objects)
    : tcBenchMaster(std::make_shared<orba::skin::FolderSkinSource>(skinFolder), objects)
{
}

tcBenchMaster::tcBenchMaster(std::shared_ptr<const orba::skin::SkinSource> source,
                             const SkinVocabulary *objects)
    : m_source(std::move(source)), m_colours(kMaxColours), m_offsets(kMaxOffsets), m_regions(kMaxRegions)
{
    buildElementIndex(objects);
}

QString tcBenchMaster::skinFile() const
{
    return m_source->location() + QStringLiteral("/skin.xml");
}

void tcBenchMaster::fail(const char *format, ...)
{
    char buffer[orba::skin::kReportBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    report("%s", buffer);
    if (m_failure.isEmpty())
        m_failure = QString::fromUtf8(buffer);
}

tcBenchMaster::~tcBenchMaster()
{
    tcBenchMaster::clear();
}

void tcBenchMaster::clear()
{
    tcBench::clear();
    m_screens.clear();
    m_fonts.clear();
}

void tcBenchMaster::buildElementIndex(const SkinVocabulary *objects)
{
    for (const SkinElement &e : kCoreElements)
        m_elements[e.parentKind].push_back(&e);
    if (objects) {
        for (size_t i = 0; i < objects->count; ++i)
            m_elements[objects->elements[i].parentKind].push_back(&objects->elements[i]);
    }
}

const SkinElement *tcBenchMaster::findElement(int parentKind, const char *name) const
{
    const auto it = m_elements.find(parentKind);
    if (it == m_elements.end())
        return nullptr;
    for (const SkinElement *e : it->second) {
        if (std::strcmp(e->name, name) == 0)
            return e;
    }
    return nullptr;
}

void tcBenchMaster::resetTables()
{
    for (auto &c : m_colours) {
        c.name.clear();
        c.value = orba::skin::kOpaqueBlack;
    }
    for (auto &o : m_offsets) {
        o.name.clear();
        o.value = 0;
    }
    for (auto &r : m_regions)
        r.name.clear();
    m_fonts.clear();
    m_colourCount = m_offsetCount = m_regionCount = 0;
    m_serial = kFirstSerial;
}

void tcBenchMaster::addDefaultFonts()
{
    m_fonts.emplace_back(newFont("VORUD_HFONT", QStringLiteral("Arial"), 14, 11));
    m_fonts.emplace_back(newFont("VORUD_MONOFONT", QStringLiteral("Lucida Console"), 15, 11));
    // The fixed-pitch face is often missing; keep it fixed pitch wherever it falls back.
    m_fonts.back()->font.setStyleHint(QFont::TypeWriter);
    m_fonts.back()->font.setFixedPitch(true);
}

int tcBenchMaster::findColourSlot(const NameString &name) const
{
    for (int i = 0; i < m_colourCount; ++i) {
        if (m_colours[i].name == name)
            return i;
    }
    return -1;
}

int tcBenchMaster::findOffsetSlot(const char *name, size_t length) const
{
    const int sum = NameString::checksumOf(name, length);
    for (int i = 0; i < m_offsetCount; ++i) {
        const NameString &n = m_offsets[i].name;
        if (n.length() == length && n.checksum() == sum && std::memcmp(n.c_str(), name, length) == 0)
            return i;
    }
    return -1;
}

int tcBenchMaster::findRegionSlot(const NameString &name) const
{
    for (int i = 0; i < m_regionCount; ++i) {
        if (m_regions[i].name == name)
            return i;
    }
    return -1;
}

SkinFont *tcBenchMaster::findFontRecord(const NameString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const auto &f : m_fonts) {
        if (f->name == name)
            return f.get();
    }
    return nullptr;
}

const SkinFont *tcBenchMaster::findFont(const char *name) const
{
    return findFontRecord(NameString(name));
}

const SkinScreen *tcBenchMaster::findScreen(const NameString &id) const
{
    for (const auto &s : m_screens) {
        if (s->id == id)
            return s.get();
    }
    return nullptr;
}

bool tcBenchMaster::colour(const char *name, QRgb *value) const
{
    const int slot = findColourSlot(NameString(name));
    if (slot < 0)
        return false;
    *value = m_colours[slot].value;
    return true;
}

bool tcBenchMaster::offset(const char *name, int32_t *value) const
{
    const int slot = findOffsetSlot(name, std::strlen(name));
    if (slot < 0)
        return false;
    *value = m_offsets[slot].value;
    return true;
}

bool tcBenchMaster::region(const char *name, QRect *value) const
{
    const int slot = findRegionSlot(NameString(name));
    if (slot < 0)
        return false;
    *value = m_regions[slot].rect;
    return true;
}

int tcBenchMaster::number(const char *text)
{
    int32_t value = 0;
    if (text && offset(text, &value))
        return value;
    return expression(text);
}

int tcBenchMaster::expression(const char *text)
{
    orba::skin::OffsetResolver resolver;
    resolver.lookup = &lookupOffset;
    resolver.missing = &reportMissing;
    resolver.context = this;
    // Skin numbers are coordinates, sizes and counts: bounded so that sums of them never overflow.
    return std::clamp<int32_t>(orba::skin::evalExpression(text, resolver), -kMaxNumber, kMaxNumber);
}

QRgb tcBenchMaster::colourValue(const char *text) const
{
    if (!text || !*text)
        return orba::skin::kOpaqueBlack;
    QRgb named;
    if (colour(text, &named))
        return named;
    return orba::skin::parseHexColour(text);
}

QByteArray tcBenchMaster::pictureData(const char *file)
{
    const QString name = QString::fromUtf8(file ? file : "");
    const auto known = m_pictures.constFind(name);
    if (known != m_pictures.constEnd())
        return *known;
    QByteArray data;
    reportPicture(name, m_source->readPicture(name, kMaxSkinPictureBytes - m_pictureBytes, &data));
    m_pictureBytes += data.size();
    m_pictures.insert(name, data);
    return data;
}

void tcBenchMaster::reportPicture(const QString &file, orba::skin::SourceStatus status)
{
    using orba::skin::SourceStatus;
    const QByteArray name = file.toUtf8();
    if (status == SourceStatus::Outside)
        report("ERROR: Picture \"%s\" lies outside the skin folder on line %d of the skin file.",
               name.constData(), currentLine());
    else if (status == SourceStatus::TooLarge)
        report("ERROR: Picture \"%s\" on line %d of the skin file is past the limit of %lld MB of pictures.",
               name.constData(), currentLine(), static_cast<long long>(kMaxSkinPictureBytes / (1024 * 1024)));
    // Missing or unreadable: drawn with the missing-picture mark.
}

QByteArray tcBenchMaster::pictureHead(const QString &file)
{
    QByteArray head;
    const orba::skin::SourceStatus status =
        m_source->readPictureHead(file, kMaxSkinPictureBytes - m_pictureBytes, kPictureHeadBytes, &head);
    reportPicture(file, status);
    if (status != orba::skin::SourceStatus::Ok)
        head.clear();
    m_pictureBytes += head.size();
    return head;
}

std::function<QByteArray()> tcBenchMaster::pictureReader(const QString &file) const
{
    return [source = m_source, file] {
        QByteArray data;
        if (source->readPicture(file, kMaxSkinPictureBytes, &data) != orba::skin::SourceStatus::Ok)
            data.clear();
        return data;
    };
}
