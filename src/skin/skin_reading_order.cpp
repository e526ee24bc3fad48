// Which pictures a skin uses first, read without the loader: what to decode ahead while the
// window is still being made.
#include "skin/skin_pack.h"

#include <QHash>

#include <expat.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

namespace orba::skin {
namespace {

// The loader's bounds for a skin that includes itself or one file very many times, and one of
// our own for what is kept of it: the default skin has about fifteen hundred elements.
constexpr int kMaxDepth = 10;
constexpr int kMaxIncludes = 256;
constexpr qint64 kMaxTextBytes = 32 * 1024 * 1024; // each reference counting again
constexpr size_t kMaxElements = 100000;

struct Element
{
    std::string pictureId, pictureFile; // an <image> with both
    std::vector<std::string> values;    // its other attributes' values, in order
    bool hasChildren = false;
};

class Reader
{
public:
    explicit Reader(const PackContents &pack) : m_pack(pack)
    {
        for (size_t i = 0; i < pack.entries.size(); ++i)
            m_byName.insert(pack.entries[i].name, i); // a later entry of a name wins, as on unpacking
    }

    bool read()
    {
        XML_Parser parser = XML_ParserCreate(nullptr);
        if (!parser)
            return false;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &Reader::onStart, &Reader::onEnd);
        XML_SetExternalEntityRefHandler(parser, &Reader::onEntity);
        const bool ok = parse(parser, QStringLiteral("skin.xml"));
        XML_ParserFree(parser);
        return ok;
    }

    const std::vector<Element> &elements() const { return m_elements; }
    const QHash<QString, size_t> &byName() const { return m_byName; }

private:
    bool parse(XML_Parser parser, const QString &name)
    {
        const auto it = m_byName.constFind(name);
        if (it == m_byName.cend())
            return false;
        const QByteArray &text = m_pack.entries[it.value()].data;
        m_textBytes += text.size();
        if (m_textBytes > kMaxTextBytes)
            return false;
        XML_Parser outer = std::exchange(m_parser, parser);
        const bool ok =
            XML_Parse(parser, text.constData(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_ERROR;
        m_parser = outer;
        return ok;
    }

    static void XMLCALL onStart(void *user, const XML_Char *name, const XML_Char **atts)
    {
        auto *self = static_cast<Reader *>(user);
        if (self->m_elements.size() >= kMaxElements) {
            XML_StopParser(self->m_parser, XML_FALSE);
            return;
        }
        if (!self->m_open.empty())
            self->m_elements[self->m_open.back()].hasChildren = true;
        self->m_open.push_back(self->m_elements.size());
        Element e;
        const bool image = std::strcmp(name, "image") == 0;
        for (const XML_Char **a = atts; a && a[0]; a += 2) {
            if (image && std::strcmp(a[0], "id") == 0)
                e.pictureId = a[1];
            else if (image && std::strcmp(a[0], "file") == 0)
                e.pictureFile = a[1];
            else if (std::strcmp(a[0], "id") != 0)
                e.values.emplace_back(a[1]);
        }
        self->m_elements.push_back(std::move(e));
    }

    static void XMLCALL onEnd(void *user, const XML_Char *)
    {
        auto *self = static_cast<Reader *>(user);
        if (!self->m_open.empty() && self->m_elements.size() < kMaxElements)
            self->m_open.pop_back();
    }

    static int XMLCALL onEntity(XML_Parser parser, const XML_Char *context, const XML_Char *,
                                const XML_Char *systemId, const XML_Char *)
    {
        auto *self = static_cast<Reader *>(XML_GetUserData(parser));
        if (!systemId || self->m_depth >= kMaxDepth || ++self->m_includes > kMaxIncludes ||
            self->m_elements.size() >= kMaxElements)
            return XML_STATUS_OK;
        XML_Parser inner = XML_ExternalEntityParserCreate(parser, context, nullptr);
        if (!inner)
            return XML_STATUS_ERROR;
        // An included file's elements continue the element that includes it.
        const size_t open = self->m_open.size();
        ++self->m_depth;
        self->parse(inner, QString::fromUtf8(systemId));
        --self->m_depth;
        self->m_open.resize(open);
        XML_ParserFree(inner);
        return XML_STATUS_OK;
    }

    const PackContents &m_pack;
    QHash<QString, size_t> m_byName;
    std::vector<Element> m_elements;
    std::vector<size_t> m_open;
    XML_Parser m_parser = nullptr; // the innermost one at work
    int m_depth = 0, m_includes = 0;
    qint64 m_textBytes = 0;
};

bool isPicture(const QString &name)
{
    return name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ||
           name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
}

} // namespace

std::vector<size_t> picturesInReadingOrder(const PackContents &contents)
{
    std::vector<size_t> order;
    std::vector<char> placed(contents.entries.size(), 0);
    Reader reader(contents);
    reader.read(); // what was read before a fault still gives its order
    std::unordered_map<std::string, std::string> files; // picture id -> file, the first one given
    for (const Element &e : reader.elements()) {
        if (!e.pictureId.empty() && !e.pictureFile.empty())
            files.emplace(e.pictureId, e.pictureFile);
    }
    auto use = [&](const std::string &file) {
        const auto it = reader.byName().constFind(QString::fromStdString(file));
        if (it == reader.byName().cend() || placed[it.value()] || !isPicture(it.key()))
            return;
        placed[it.value()] = 1;
        order.push_back(it.value());
    };
    for (const Element &e : reader.elements()) {
        // A picture with a place of its own is an object drawn there; one without is only shared.
        if (e.hasChildren && !e.pictureFile.empty())
            use(e.pictureFile);
        for (const std::string &value : e.values) {
            const auto it = files.find(value);
            if (it != files.end())
                use(it->second);
        }
    }
    for (size_t i = 0; i < contents.entries.size(); ++i) {
        if (!placed[i] && isPicture(contents.entries[i].name))
            order.push_back(i);
    }
    return order;
}

} // namespace orba::skin
