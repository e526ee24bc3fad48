#include "common/ini_store.h"

#include "common/atomic_file.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

#include <expat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orba {

namespace {

const QString kIniXmlDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>");
constexpr size_t kReadBlock = 1000;

QString combinedKey(const QString &section, const QString &key)
{
    return section + QLatin1Char(':') + key;
}

void XMLCALL onStartElement(void *userData, const XML_Char *name, const XML_Char **atts)
{
    if (std::strcmp(name, "ORBA") == 0)
        return;
    auto *out = static_cast<IniEntries *>(userData);
    const QString element = QString::fromUtf8(name);
    for (int i = 0; atts[i] && atts[i + 1]; i += 2)
        (*out)[combinedKey(element, QString::fromUtf8(atts[i]))] = QString::fromUtf8(atts[i + 1]);
}

} // namespace

bool parseIniXml(const char *data, size_t size, IniEntries &out)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser)
        return false;
    XML_SetUserData(parser, &out);
    XML_SetStartElementHandler(parser, onStartElement);
    bool ok = true;
    size_t pos = 0;
    do {
        const size_t n = std::min(kReadBlock, size - pos);
        const bool last = pos + n >= size;
        if (XML_Parse(parser, data + pos, int(n), last) == XML_STATUS_ERROR) {
            ok = false;
            break;
        }
        pos += n;
    } while (pos < size);
    XML_ParserFree(parser);
    return ok;
}

QString escapeIniXml(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    s.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return s;
}

QByteArray renderIniXml(const IniEntries &entries)
{
    QString out;
    out += kIniXmlDeclaration + QLatin1Char('\n');
    out += QLatin1String("<INI>\n");
    QString openSection;
    bool open = false;
    for (const auto &[combined, value] : entries) {
        const QString key = escapeIniXml(combined);
        const int colon = key.indexOf(QLatin1Char(':'));
        const QString section = colon < 0 ? key : key.left(colon);
        QString name;
        if (colon >= 0) {
            const int second = key.indexOf(QLatin1Char(':'), colon + 1);
            name = second < 0 ? key.mid(colon + 1) : key.mid(colon + 1, second - colon - 1);
        }
        if (!open || section != openSection) {
            if (open)
                out += QLatin1String("/>\n");
            out += QLatin1Char('<') + section + QLatin1Char('\n');
            openSection = section;
            open = true;
        }
        out += QLatin1String("    ") + name + QLatin1String("=\"") + escapeIniXml(value) + QLatin1String("\"\n");
    }
    if (open)
        out += QLatin1String("/>\n");
    out += QLatin1String("</INI>\n");
    return out.toUtf8();
}

int leadingInt(const QString &text)
{
    // As read through a 20-byte buffer.
    const QByteArray bytes = text.left(19).toLatin1();
    return int(std::strtol(bytes.constData(), nullptr, 10));
}

} // namespace orba

using orba::leadingInt;
using orba::parseIniXml;
using orba::renderIniXml;

IniStore::IniStore(const QString &path, Mode mode) : m_mode(mode), m_path(path)
{
    if (m_mode == ProfileFile) {
        m_profile = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return;
    }
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray data = f.readAll();
        parseIniXml(data.constData(), size_t(data.size()), m_entries);
    }
}

IniStore::~IniStore()
{
    flush();
}

void IniStore::writeString(const QString &section, const QString &key, const QString &value)
{
    // Writing back what is stored changes nothing, so the file is not rewritten for it.
    if (m_profile) {
        const QString name = section + QLatin1Char('/') + key;
        const QVariant stored = m_profile->value(name);
        if (stored.isValid() && stored.typeId() == QMetaType::QString && stored.toString() == value)
            return;
        m_dirty = true;
        m_profile->setValue(name, value);
        m_profile->sync();
        return;
    }
    const auto [it, added] = m_entries.try_emplace(section + QLatin1Char(':') + key, value);
    if (!added && it->second == value)
        return;
    it->second = value;
    m_dirty = true;
}

void IniStore::writeInt(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

QString IniStore::readString(const QString &section, const QString &key, const QString &def) const
{
    if (m_profile) {
        const QVariant v = m_profile->value(section + QLatin1Char('/') + key);
        if (!v.isValid())
            return def;
        // The INI reader splits unquoted commas into a list; a profile value is one text.
        if (v.typeId() == QMetaType::QStringList)
            return v.toStringList().join(QLatin1Char(','));
        return v.toString();
    }
    const auto it = m_entries.find(section + QLatin1Char(':') + key);
    return it == m_entries.end() ? def : it->second;
}

void IniStore::readString(const QString &section, const QString &key, const char *def, char *buf,
                          size_t size) const
{
    if (!buf || size == 0)
        return;
    const QByteArray value = readString(section, key, QString::fromUtf8(def ? def : "")).toUtf8();
    const size_t n = std::min(size - 1, size_t(value.size()));
    std::memcpy(buf, value.constData(), n);
    buf[n] = '\0';
}

int IniStore::readInt(const QString &section, const QString &key, int def) const
{
    return leadingInt(readString(section, key, QString::number(def)));
}

bool IniStore::flush()
{
    if (m_mode != XmlFile || !m_dirty)
        return true;
    if (!orba::writeFileAtomically(m_path, renderIniXml(m_entries)))
        return false;
    m_dirty = false;
    return true;
}
