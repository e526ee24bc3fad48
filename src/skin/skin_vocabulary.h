// The loader's element and attribute tables. A vocabulary is a flat list of elements, each under
// the kind of its parent; the core definitions (colours, offsets, regions, fonts, screens) live in
// the skin engine, and the GUI object library hands its own list (every object element with its
// child elements) to the bench master at construction. That keeps skin below gui: the loader never
// names a GUI class, it only runs the handlers it is given.
#pragma once

#include <cstddef>

class tcBenchMaster;

// One level of the parse stack: the kind of the open element (-1 ignored), an auxiliary word and the
// entry its attributes write to.
struct SkinParseFrame
{
    int kind = -1;
    int aux = 0;
    void *target = nullptr;
};

// Applies one attribute value to the frame's target.
using SkinAttrHandler = void (*)(tcBenchMaster &bench, SkinParseFrame &frame, const char *value);
// Starts an element: finds or creates its entry and fills the new frame. Returns false to ignore the
// element (with everything inside it). Null for attribute-only children, which take over the
// parent's target and auxiliary word.
using SkinStartHandler = bool (*)(tcBenchMaster &bench, const SkinParseFrame &parent, SkinParseFrame &frame,
                                  const char *element, const char *id);

struct SkinAttr
{
    const char *name;
    SkinAttrHandler apply;
};

struct SkinElement
{
    int parentKind;
    const char *name;
    int kind;     // the kind the new frame gets
    bool needsId; // a missing or empty id is reported and the element ignored
    SkinStartHandler start;
    const SkinAttr *attrs; // applied in this order, not in document order
    size_t attrCount;
    int aux = 0; // auxiliary word for attribute-only children (e.g. the layout number)
};

struct SkinVocabulary
{
    const SkinElement *elements = nullptr;
    size_t count = 0;
};

// Kinds of the core; object libraries number theirs from kSkinKindFirstFree upward.
enum SkinKind : int {
    kSkinKindIgnored = -1,
    kSkinKindDocument = 0,
    kSkinKindSkin = 1,
    kSkinKindColor,
    kSkinKindOffset,
    kSkinKindRegion,
    kSkinKindFont,
    kSkinKindScreen,
    kSkinKindObj,
    kSkinKindFirstFree = 32,
};

template <size_t N> constexpr size_t skinCount(const SkinAttr (&)[N])
{
    return N;
}
