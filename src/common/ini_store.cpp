#include "common/ini_store.h"

#include "common/atomic_file.h"
#include "common/message.h"
#include "common/whole_file.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace orba {

namespace {

const QString kIniXmlDeclaration =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>");
// XML 1.0 cannot carry most control characters, not even as references. Such a character in a
// value is written as this private-use character followed by the four hex digits of its code
// unit; the private-use character itself is written the same way, so every value reads back.
constexpr char16_t kValueEscape = 0xE000;

QString combinedKey(const QString &section, const QString &key)
{
    return section + QLatin1Char(':') + key;
}

bool writtenAsItIs(char16_t c)
{
    return (c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') && c != 0xFFFE && c != 0xFFFF &&
           c != kValueEscape;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString escapeIniValue(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out += text.at(i);
            out += text.at(++i);
            continue;
        }
        switch (c) {
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u'"':
            out += QLatin1String("&quot;");
            continue;
        // As themselves they would come back as blanks: attribute values are normalised.
        case u'\t':
            out += QLatin1String("&#9;");
            continue;
        case u'\n':
            out += QLatin1String("&#10;");
            continue;
        case u'\r':
            out += QLatin1String("&#13;");
            continue;
        default:
            break;
        }
        if (writtenAsItIs(c) && !QChar::isSurrogate(c))
            out += QChar(c);
        else
            out += QChar(kValueEscape) + QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString unescapeIniValue(const QString &text)
{
    if (!text.contains(QChar(kValueEscape)))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        int code = -1;
        if (text.at(i).unicode() == kValueEscape && i + 4 < text.size()) {
            code = 0;
            for (qsizetype d = 1; d <= 4 && code >= 0; ++d) {
                const int digit = hexDigit(text.at(i + d));
                code = digit < 0 ? -1 : code * 16 + digit;
            }
        }
        if (code < 0) {
            out += text.at(i);
        } else {
            out += QChar(char16_t(code));
            i += 4;
        }
    }
    return out;
}

void XMLCALL onStartElement(void *userData, const XML_Char *name, const XML_Char **atts)
{
    if (std::strcmp(name, "ORBA") == 0)
        return;
    auto *out = static_cast<IniEntries *>(userData);
    const QString element = QString::fromUtf8(name);
    for (int i = 0; atts[i] && atts[i + 1]; i += 2)
        (*out)[combinedKey(element, QString::fromUtf8(atts[i]))] =
            unescapeIniValue(QString::fromUtf8(atts[i + 1]));
}

} // namespace

bool parseIniXml(const char *data, size_t size, IniEntries &out, IniParseError *error)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser)
        return false;
    XML_SetUserData(parser, &out);
    XML_SetStartElementHandler(parser, onStartElement);
    // One call: expat rescans a token cut by a block boundary from its start at every block, so
    // small blocks make a long value quadratic. Callers bound the size.
    bool ok = size <= size_t(INT_MAX);
    if (ok && XML_Parse(parser, data, int(size), XML_TRUE) == XML_STATUS_ERROR) {
        ok = false;
        if (error) {
            error->line = int(XML_GetCurrentLineNumber(parser));
            error->text = QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser)));
        }
    }
    XML_ParserFree(parser);
    if (!ok)
        out.clear();
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
        out += QLatin1String("    ") + name + QLatin1String("=\"") + escapeIniValue(value) +
               QLatin1String("\"\n");
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
    load();
    if (m_mode == ProfileFile && !m_keepFile) {
        m_profile = std::make_unique<QSettings>(path, QSettings::IniFormat);
        if (m_profile->status() == QSettings::FormatError) {
            m_profile.reset();
            setAside(QStringLiteral("it is damaged"));
            if (!m_keepFile)
                m_profile = std::make_unique<QSettings>(path, QSettings::IniFormat);
        }
    }
}

void IniStore::load()
{
    QByteArray data;
    switch (orba::readWholeFile(m_path, orba::kSettingsFileLimit, data)) {
    case orba::FileReadResult::Missing:
        return;
    case orba::FileReadResult::NotRegular:
        refuse(QStringLiteral("it is not a regular file"));
        return;
    case orba::FileReadResult::Unreadable:
        refuse(QStringLiteral("it could not be read"));
        return;
    case orba::FileReadResult::TooLarge:
        setAside(QStringLiteral("it is larger than %1").arg(orba::sizeText(orba::kSettingsFileLimit)));
        return;
    case orba::FileReadResult::Ok:
        break;
    }
    // An empty file holds nothing to lose.
    if (m_mode != XmlFile || data.isEmpty())
        return;
    orba::IniParseError error;
    if (!parseIniXml(data.constData(), size_t(data.size()), m_entries, &error))
        setAside(QStringLiteral("it is damaged at line %1 (%2)").arg(error.line).arg(error.text));
}

void IniStore::setAside(const QString &reason)
{
    m_entries.clear();
    const QString kept = orba::moveAside(m_path, m_path + QStringLiteral(".bad"));
    if (kept.isEmpty()) {
        refuse(reason);
        return;
    }
    orba::postMessage(orba::MessageKind::Warning, nullptr, QStringLiteral("Settings File"),
                      QStringLiteral("The settings file \"%1\" cannot be used: %2.\n"
                                     "It was kept as \"%3\", and default settings are used.")
                          .arg(QDir::toNativeSeparators(m_path), reason, QDir::toNativeSeparators(kept)));
}

void IniStore::refuse(const QString &reason)
{
    m_entries.clear();
    m_keepFile = true;
    orba::postMessage(orba::MessageKind::Warning, nullptr, QStringLiteral("Settings File"),
                      QStringLiteral("The settings file \"%1\" cannot be used: %2.\n"
                                     "Default settings are used, and the file is left as it is.")
                          .arg(QDir::toNativeSeparators(m_path), reason));
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
    if (m_saveOnWrite)
        flush();
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
    if (m_keepFile)
        return false;
    if (m_mode != XmlFile || !m_dirty)
        return true;
    if (!orba::writeFileAtomically(m_path, renderIniXml(m_entries)))
        return false;
    m_dirty = false;
    return true;
}
