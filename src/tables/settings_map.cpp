#include "tables/settings_map.h"

#include "common/check.h"
#include "common/crc32.h"
#include "tables/value_tables.h"

#include <cstring>

using namespace orba;

namespace {

const SETTING_BUILD *findBuild(uint16_t id)
{
    const int i = settingIndex(id);
    // The build list runs in table order; a mismatch is a programming error.
    ORBA_CHECK(i >= 0 && SETTINGS_BUILD_LIST[i].id == id, "sid != NULL");
    return &SETTINGS_BUILD_LIST[i];
}

std::unique_ptr<MAP_TYPE> buildHolder(const SETTING_DEF &def)
{
    const SETTING_BUILD *b = findBuild(def.id);
    switch (b->kind) {
    case SETTING_BUILD::Table:
        ORBA_CHECK(def.type == SETTING_FLOAT, "sid != NULL");
        return std::make_unique<MAP_FLOAT>(def.id, def.floatDefault, def.floatMin, def.floatMax, b->table,
                                           b->tableLength, def.name);
    case SETTING_BUILD::Step: {
        ORBA_CHECK(def.type == SETTING_FLOAT, "sid != NULL");
        const auto steps = uint32_t((double(def.floatMax) - double(def.floatMin)) / b->step + 0.5);
        auto h = std::make_unique<MAP_FLOAT>(def.id, def.floatDefault, def.floatMin, def.floatMax, nullptr,
                                             steps, def.name);
        h->setLabelFormat(b->format);
        return h;
    }
    case SETTING_BUILD::Labels:
        ORBA_CHECK(def.type == SETTING_INT, "sid != NULL");
        return std::make_unique<MAP_INT>(def.id, uint32_t(def.intDefault), uint32_t(def.intMin),
                                         uint32_t(def.intMax), b->labels, def.name);
    case SETTING_BUILD::Boolean:
        ORBA_CHECK(def.type == SETTING_BOOL, "sid != NULL");
        return std::make_unique<MAP_BOOL>(def.id, uint8_t(def.boolDefault), def.name);
    }
    ORBA_CHECK(false, "sid != NULL");
}

bool showsOffAtMinimum(uint16_t id)
{
    return id == 1032 || id == 1126 || id == 1548 || id == 2053 || id == 2054;
}

} // namespace

SETTINGS_MAP::SETTINGS_MAP()
{
    for (int i = 0; i < SETTINGS_COUNT; ++i)
        m_holders[i] = buildHolder(SETTINGS_TABLE[i]);
}

SETTINGS_MAP::~SETTINGS_MAP() = default;

void SETTINGS_MAP::setChangeCallback(ChangeCallback callback, void *context)
{
    m_callback = callback;
    m_context = context;
}

void SETTINGS_MAP::changed(uint16_t id, ChangeSource source) const
{
    if (m_callback)
        m_callback(m_context, id, source);
}

MAP_TYPE *SETTINGS_MAP::holder(uint16_t id)
{
    const int i = settingIndex(id);
    return i < 0 ? nullptr : m_holders[i].get();
}

const MAP_TYPE *SETTINGS_MAP::holder(uint16_t id) const
{
    const int i = settingIndex(id);
    return i < 0 ? nullptr : m_holders[i].get();
}

MAP_FLOAT *SETTINGS_MAP::floatHolder(uint16_t id)
{
    MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_FLOAT ? static_cast<MAP_FLOAT *>(h) : nullptr;
}

const MAP_FLOAT *SETTINGS_MAP::floatHolder(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_FLOAT ? static_cast<const MAP_FLOAT *>(h) : nullptr;
}

MAP_INT *SETTINGS_MAP::intHolder(uint16_t id)
{
    MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_INT ? static_cast<MAP_INT *>(h) : nullptr;
}

const MAP_INT *SETTINGS_MAP::intHolder(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_INT ? static_cast<const MAP_INT *>(h) : nullptr;
}

MAP_BOOL *SETTINGS_MAP::boolHolder(uint16_t id)
{
    MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_BOOL ? static_cast<MAP_BOOL *>(h) : nullptr;
}

const MAP_BOOL *SETTINGS_MAP::boolHolder(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    return h && h->type() == SETTING_BOOL ? static_cast<const MAP_BOOL *>(h) : nullptr;
}

bool SETTINGS_MAP::setIndex(uint16_t id, uint32_t raw, ChangeSource source)
{
    MAP_TYPE *h = holder(id);
    if (!h)
        return false;
    bool c = false;
    switch (h->type()) {
    case SETTING_FLOAT:
        c = static_cast<MAP_FLOAT *>(h)->setIndex(raw);
        break;
    case SETTING_INT:
        c = static_cast<MAP_INT *>(h)->set(raw);
        break;
    case SETTING_BOOL:
        c = static_cast<MAP_BOOL *>(h)->set(raw != 0);
        break;
    }
    if (c)
        changed(id, source);
    return c;
}

bool SETTINGS_MAP::setFloat(uint16_t id, float value, ChangeSource source)
{
    MAP_FLOAT *h = floatHolder(id);
    return h && setIndex(id, h->indexOf(value), source);
}

bool SETTINGS_MAP::setInt(uint16_t id, uint32_t value, ChangeSource source)
{
    MAP_INT *h = intHolder(id);
    if (!h || !h->set(value))
        return false;
    changed(id, source);
    return true;
}

bool SETTINGS_MAP::setBool(uint16_t id, bool value, ChangeSource source)
{
    MAP_BOOL *h = boolHolder(id);
    if (!h || !h->set(value ? 1 : 0))
        return false;
    changed(id, source);
    return true;
}

uint32_t SETTINGS_MAP::getRaw(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    if (!h)
        return 0;
    switch (h->type()) {
    case SETTING_FLOAT:
        return static_cast<const MAP_FLOAT *>(h)->index();
    case SETTING_INT:
        return static_cast<const MAP_INT *>(h)->value();
    default:
        return static_cast<const MAP_BOOL *>(h)->value() ? 1 : 0;
    }
}

uint32_t SETTINGS_MAP::getRawMin(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    if (!h)
        return 0;
    switch (h->type()) {
    case SETTING_FLOAT:
        return static_cast<const MAP_FLOAT *>(h)->minIndex();
    case SETTING_INT:
        return static_cast<const MAP_INT *>(h)->minimum();
    default:
        return 0;
    }
}

uint32_t SETTINGS_MAP::getRawMax(uint16_t id) const
{
    const MAP_TYPE *h = holder(id);
    if (!h)
        return 255;
    switch (h->type()) {
    case SETTING_FLOAT:
        return static_cast<const MAP_FLOAT *>(h)->maxIndex();
    case SETTING_INT:
        return static_cast<const MAP_INT *>(h)->maximum();
    default:
        return 1;
    }
}

float SETTINGS_MAP::getFloat(uint16_t id) const
{
    const MAP_FLOAT *h = floatHolder(id);
    return h ? h->value() : 0.0f;
}

float SETTINGS_MAP::getFloatDefault(uint16_t id) const
{
    const MAP_FLOAT *h = floatHolder(id);
    return h ? h->defaultValue() : 0.0f;
}

uint32_t SETTINGS_MAP::floatToIndex(uint16_t id, float value) const
{
    const MAP_FLOAT *h = floatHolder(id);
    return h ? h->indexOf(value) : 0;
}

float SETTINGS_MAP::indexToFloat(uint16_t id, uint32_t index) const
{
    const MAP_FLOAT *h = floatHolder(id);
    return h ? h->valueAt(index) : 0.0f;
}

uint32_t SETTINGS_MAP::getInt(uint16_t id) const
{
    const MAP_INT *h = intHolder(id);
    return h ? h->value() : 0;
}

uint32_t SETTINGS_MAP::getIntDefault(uint16_t id) const
{
    const MAP_INT *h = intHolder(id);
    return h ? h->defaultValue() : 0;
}

bool SETTINGS_MAP::getBool(uint16_t id) const
{
    const MAP_BOOL *h = boolHolder(id);
    return h && h->value() != 0;
}

bool SETTINGS_MAP::getBoolDefault(uint16_t id) const
{
    const MAP_BOOL *h = boolHolder(id);
    return h && h->defaultValue() != 0;
}

void SETTINGS_MAP::label(uint16_t id, char *buf, size_t size) const
{
    const MAP_TYPE *h = holder(id);
    if (!h) {
        copyText(buf, size, "???");
        return;
    }
    switch (h->type()) {
    case SETTING_FLOAT: {
        const auto *f = static_cast<const MAP_FLOAT *>(h);
        if (showsOffAtMinimum(id) && f->index() == f->minIndex())
            copyText(buf, size, "OFF     ");
        else
            f->label(buf, size);
        break;
    }
    case SETTING_INT:
        h->label(buf, size);
        break;
    default:
        copyText(buf, size, static_cast<const MAP_BOOL *>(h)->value() ? "IN" : "OUT");
        break;
    }
}

std::string SETTINGS_MAP::label(uint16_t id) const
{
    char buf[64];
    label(id, buf, sizeof buf);
    return buf;
}

void SETTINGS_MAP::resetAll()
{
    for (auto &h : m_holders)
        h->reset();
}

void SETTINGS_MAP::assignFrom(const SETTINGS_MAP &other)
{
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const uint16_t id = SETTINGS_TABLE[i].id;
        MAP_TYPE *h = m_holders[i].get();
        switch (h->type()) {
        case SETTING_FLOAT:
            static_cast<MAP_FLOAT *>(h)->setIndex(other.getRaw(id));
            break;
        case SETTING_INT:
            static_cast<MAP_INT *>(h)->set(other.getRaw(id));
            break;
        default:
            static_cast<MAP_BOOL *>(h)->set(uint8_t(other.getRaw(id)));
            break;
        }
    }
}

int SETTINGS_MAP::copyValuesFrom(const SETTINGS_MAP *src, unsigned flags)
{
    if (!src || (flags & 1u))
        return -1;
    const bool skipInstallation = (flags & 2u) != 0;
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const uint16_t id = SETTINGS_TABLE[i].id;
        if (skipInstallation && isInstallationParameter(id))
            continue;
        setIndex(id, src->getRaw(id), CHANGE_LOCAL);
    }
    return 0;
}

SetChecksums SETTINGS_MAP::checksums() const
{
    Crc32 preset;
    Crc32 system;
    SetChecksums out;
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const uint16_t id = SETTINGS_TABLE[i].id;
        if (isInstallationParameter(id)) {
            system.updateWord(getRaw(id));
            ++out.systemCount;
        } else {
            preset.updateWord(getRaw(id));
            ++out.presetCount;
        }
    }
    out.presetChecksum = preset.value();
    out.systemChecksum = system.value();
    return out;
}
