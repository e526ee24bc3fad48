#include "skin/skin_values.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace orba::skin {

namespace {

int64_t saturate(int64_t v)
{
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return v;
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool endsName(char c)
{
    return c == '\0' || c == ' ' || c == '\t' || c == '+' || c == '-';
}

} // namespace

int32_t evalExpression(const char *text, const OffsetResolver &resolver)
{
    if (!text)
        return 0;
    int64_t sum = 0;
    int64_t term = 0;
    int sign = 1;
    const char *p = text;
    while (*p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            term = saturate(term * 10 + (c - '0'));
            ++p;
        } else if (isLetter(c)) {
            const char *start = p;
            while (!endsName(*p))
                ++p;
            const int length = static_cast<int>(p - start);
            int32_t value = 0;
            if (!resolver.lookup || !resolver.lookup(resolver.context, start, length, &value)) {
                if (resolver.missing)
                    resolver.missing(resolver.context, start, length);
                value = 0;
            }
            term = value;
        } else {
            sum = saturate(sum + sign * term);
            term = 0;
            if (c == '+')
                sign = 1;
            else if (c == '-')
                sign = -1;
            ++p;
        }
    }
    return static_cast<int32_t>(saturate(sum + sign * term));
}

QRgb parseHexColour(const char *text)
{
    if (!text || !*text)
        return kOpaqueBlack;
    const char *p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    // Only the low 24 bits count, so the last six digits are all that matter.
    unsigned long value = 0;
    bool any = false;
    for (; std::isxdigit(static_cast<unsigned char>(*p)); ++p) {
        const char c = *p;
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = ((value << 4) | static_cast<unsigned long>(digit)) & 0xFFFFFFFul;
        any = true;
    }
    if (!any)
        return kOpaqueBlack;
    return kOpaqueBlack | static_cast<QRgb>(value & 0xFFFFFFu);
}

bool textFlag(const char *text)
{
    return !(text && text[0] == '0' && text[1] == '\0');
}

bool numberFlag(const char *text)
{
    if (!text)
        return false;
    errno = 0;
    const long long v = std::strtoll(text, nullptr, 10);
    return v != 0;
}

int parseAlignment(const char *text)
{
    if (!text || !*text)
        return kAlignTopLeft;
    int flags;
    switch (text[0]) {
    case 'b':
        flags = 0x40; // bottom
        break;
    case 'c':
        flags = 0x80; // vertical centre
        break;
    default:
        flags = 0x20; // top
    }
    switch (text[1]) {
    case 'c':
        flags |= 0x4;
        break;
    case 'r':
        flags |= 0x2;
        break;
    default:
        flags |= 0x1;
    }
    return flags;
}

} // namespace orba::skin
