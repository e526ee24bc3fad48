// The Expat side of the loader: the parse stack, each file read whole from the skin's source and
// parsed in one piece, the element dispatch through the vocabulary and the included files (external
// entities), which are parsed with the same frames so their elements continue the enclosing element.
#include "skin/bench_master.h"

#include <expat.h>

#include <cstring>

class SkinParser
{
public:
    explicit SkinParser(tcBenchMaster &bench) : m_bench(bench) {}

    bool parseFile(XML_Parser parser, const QString &name);
    int line() const { return m_parser ? static_cast<int>(XML_GetCurrentLineNumber(m_parser)) : 0; }
    bool failed() const { return m_failed; }

    static void XMLCALL onStart(void *user, const XML_Char *name, const XML_Char **atts);
    static void XMLCALL onEnd(void *user, const XML_Char *name);
    static int XMLCALL onEntity(XML_Parser parser, const XML_Char *context, const XML_Char *base,
                                const XML_Char *systemId, const XML_Char *publicId);

    SkinParseFrame frames[tcBenchMaster::kParseDepth];
    int depth = 0;

private:
    void startElement(const char *name, const char **atts);
    int includeFile(XML_Parser parser, const XML_Char *context, const XML_Char *systemId);

    tcBenchMaster &m_bench;
    XML_Parser m_parser = nullptr; // the innermost parser at work
    bool m_nestingExceeded = false;
    bool m_failed = false; // sticky: a nesting error or a limit anywhere fails the load
    int m_includeDepth = 0;
    int m_includes = 0;     // references followed during this load
    qint64 m_textBytes = 0; // bytes parsed during this load, each reference counting again
};

namespace {
// Included files that include files: bounded like the element stack, so a file that includes
// itself ends instead of exhausting the stack.
constexpr int kMaxIncludeDepth = tcBenchMaster::kParseDepth;

const char *attribute(const char **atts, const char *name)
{
    for (const char **a = atts; a && a[0]; a += 2) {
        if (std::strcmp(a[0], name) == 0)
            return a[1];
    }
    return nullptr;
}
} // namespace

void XMLCALL SkinParser::onStart(void *user, const XML_Char *name, const XML_Char **atts)
{
    static_cast<SkinParser *>(user)->startElement(name, atts);
}

void XMLCALL SkinParser::onEnd(void *user, const XML_Char *)
{
    auto *self = static_cast<SkinParser *>(user);
    if (self->depth <= 0)
        return;
    self->frames[self->depth] = SkinParseFrame{};
    --self->depth;
}

void SkinParser::startElement(const char *name, const char **atts)
{
    if (depth + 1 >= tcBenchMaster::kParseDepth) {
        m_nestingExceeded = true;
        m_failed = true;
        XML_StopParser(m_parser, XML_FALSE);
        return;
    }
    ++depth;
    const SkinParseFrame &parent = frames[depth - 1];
    SkinParseFrame &frame = frames[depth];
    frame = SkinParseFrame{};
    if (parent.kind < 0)
        return;
    const SkinElement *element = m_bench.findElement(parent.kind, name);
    if (!element)
        return;
    const char *id = attribute(atts, "id");
    if (element->needsId && (!id || !*id)) {
        m_bench.report("ERROR: Object \"%s\" with no id attribute on line %d of the skin file.", name,
                       line());
        return;
    }
    if (element->start) {
        SkinParseFrame made;
        made.kind = element->kind;
        made.aux = element->aux;
        if (!element->start(m_bench, parent, made, name, id ? id : ""))
            return;
        frame = made;
    } else {
        frame.kind = element->kind;
        frame.target = parent.target;
        frame.aux = element->aux ? element->aux : parent.aux;
    }
    for (size_t i = 0; i < element->attrCount; ++i) {
        const SkinAttr &attr = element->attrs[i];
        for (const char **a = atts; a && a[0]; a += 2) {
            if (std::strcmp(a[0], attr.name) == 0)
                attr.apply(m_bench, frame, a[1]);
        }
    }
}

int XMLCALL SkinParser::onEntity(XML_Parser parser, const XML_Char *context, const XML_Char *,
                                 const XML_Char *systemId, const XML_Char *)
{
    auto *self = static_cast<SkinParser *>(XML_GetUserData(parser));
    return self->includeFile(parser, context, systemId);
}

int SkinParser::includeFile(XML_Parser parser, const XML_Char *context, const XML_Char *systemId)
{
    if (!systemId)
        return XML_STATUS_OK;
    if (m_includeDepth >= kMaxIncludeDepth) {
        m_bench.report("ERROR: Included file \"%s\" nested too deeply on line %d of the skin file.", systemId,
                       line());
        return XML_STATUS_OK;
    }
    // A few files referencing each other many times would otherwise multiply without end.
    if (++m_includes > tcBenchMaster::kMaxIncludedFiles) {
        if (!m_failed)
            m_bench.fail("ERROR: More than %d included files on line %d of the skin file.",
                         tcBenchMaster::kMaxIncludedFiles, line());
        m_failed = true;
        return XML_STATUS_ERROR;
    }
    XML_Parser inner = XML_ExternalEntityParserCreate(parser, context, nullptr);
    if (!inner) {
        m_bench.report("Couldn't allocate memory for XML parser");
        return XML_STATUS_ERROR;
    }
    XML_Parser outer = m_parser;
    const int savedDepth = depth;
    ++m_includeDepth;
    parseFile(inner, QString::fromUtf8(systemId));
    --m_includeDepth;
    // A broken included file may leave elements open; the outer file goes on where it was.
    for (int d = savedDepth + 1; d < tcBenchMaster::kParseDepth; ++d)
        frames[d] = SkinParseFrame{};
    depth = savedDepth;
    m_parser = outer;
    XML_ParserFree(inner);
    return m_failed ? XML_STATUS_ERROR : XML_STATUS_OK;
}

bool SkinParser::parseFile(XML_Parser parser, const QString &name)
{
    using orba::skin::SourceStatus;
    const QByteArray shown = (m_bench.source().location() + QLatin1Char('/') + name).toUtf8();
    m_bench.report("Entering file \"%s\"\n", shown.constData());
    QByteArray text;
    const SourceStatus status =
        m_bench.source().read(name, tcBenchMaster::kMaxSkinTextBytes - m_textBytes, &text);
    if (status != SourceStatus::Ok) {
        if (status == SourceStatus::Outside) {
            const char *message =
                "ERROR: File \"%s\" lies outside the skin folder on line %d of the skin file.";
            if (m_includeDepth == 0)
                m_bench.fail(message, name.toUtf8().constData(), line());
            else
                m_bench.report(message, name.toUtf8().constData(), line());
        } else if (status == SourceStatus::TooLarge) {
            if (!m_failed)
                m_bench.fail("ERROR: The skin's files come to more than %lld MB on line %d of the skin file.",
                             static_cast<long long>(tcBenchMaster::kMaxSkinTextBytes / (1024 * 1024)),
                             line());
            m_failed = true;
        } else if (status == SourceStatus::ReadError) {
            m_bench.report("XML file read error");
        }
        m_bench.report("Leaving file \"%s\"\n", shown.constData());
        return false;
    }
    m_textBytes += text.size();
    XML_Parser outer = m_parser;
    m_parser = parser;
    m_nestingExceeded = false;
    // In one piece: Expat rescans a token that spans pieces, which made a long attribute quadratic.
    bool ok = true;
    if (XML_Parse(parser, text.constData(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_ERROR) {
        if (m_nestingExceeded)
            m_bench.fail("XML nesting exceeded max depth at line %d of the skin file.", line());
        else if (m_includeDepth == 0 && !m_failed)
            m_bench.fail("Parse error at line %d:%s of the skin file.", line(),
                         XML_ErrorString(XML_GetErrorCode(parser)));
        else
            m_bench.report("Parse error at line %d:%s of the skin file.", line(),
                           XML_ErrorString(XML_GetErrorCode(parser)));
        ok = false;
    }
    m_nestingExceeded = false;
    m_parser = outer;
    m_bench.report("Leaving file \"%s\"\n", shown.constData());
    return ok;
}

int tcBenchMaster::currentLine() const
{
    return m_parser ? m_parser->line() : 0;
}

int tcBenchMaster::loadSkin()
{
    report("Opening skin file");
    m_failure.clear();
    m_pictures.clear();
    m_pictureBytes = 0;
    resetTables();
    addDefaultFonts();

    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        report("Couldn't allocate memory for XML parser");
        return -1;
    }
    SkinParser state(*this);
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, &SkinParser::onStart, &SkinParser::onEnd);
    XML_SetExternalEntityRefHandler(parser, &SkinParser::onEntity);
    for (auto &f : state.frames)
        f = SkinParseFrame{};
    state.frames[0].kind = kSkinKindDocument;
    state.depth = 0;

    m_parser = &state;
    const bool ok = state.parseFile(parser, QStringLiteral("skin.xml")) && !state.failed();
    m_parser = nullptr;
    XML_ParserFree(parser);

    if (!ok) {
        m_pictures.clear();
        report("ERROR: Loading the skin file");
        return -1;
    }
    if (const SkinFont *h = findFont("VORUD_HFONT")) {
        const SkinFont *m = findFont("VORUD_MONOFONT");
        setFonts(h->font, m ? m->font : h->font);
    }
    // Objects may append pictures while they finish, so walk by index.
    for (size_t i = 0; i < objects().size(); ++i)
        objects()[i]->afterLoad();
    m_pictures.clear();
    return 0;
}
