// The value syntax of skin attributes as pure functions: numeric expressions over named offsets,
// colours, flags and the two-letter alignment code. The bench master wires them to its tables.
#pragma once

#include <QRgb>

#include <cstdint>

namespace orba::skin {

// Resolves a name of `length` characters to an offset value; returns false when there is none.
using OffsetLookup = bool (*)(void *context, const char *name, int length, int32_t *value);
// Called once for every name that no offset resolves.
using MissingOffset = void (*)(void *context, const char *name, int length);

struct OffsetResolver
{
    OffsetLookup lookup = nullptr;
    MissingOffset missing = nullptr;
    void *context = nullptr;
};

// Left-to-right sum of decimal numbers and offset names with "+" and "-"; results saturate at the
// 32-bit range instead of overflowing.
int32_t evalExpression(const char *text, const OffsetResolver &resolver);

// RRGGBB in hex (an optional 0x prefix), always opaque; unreadable text is black.
QRgb parseHexColour(const char *text);

// False only for the exact text "0".
bool textFlag(const char *text);
// Decimal integer, false when it is 0 (so "00" is false).
bool numberFlag(const char *text);
// Vertical letter then horizontal letter: "br" bottom-right, "cc" centred, anything else top-left.
int parseAlignment(const char *text);

constexpr QRgb kOpaqueBlack = 0xFF000000u;
constexpr int kAlignTopLeft = 33;

} // namespace orba::skin
