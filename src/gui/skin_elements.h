// The GUI objects' part of the skin vocabulary: every object element (button ... image) with its
// child elements and attribute handlers. The skin engine knows no GUI class; a bench master that
// should create objects is constructed with this vocabulary:
//     tcPlainBench bench(folder, &guiSkinVocabulary());
// All GUI objects share one id space. An object element whose id belongs to an object of another
// class is reported and ignored, and an image reference naming a non-image object gives no picture.
#pragma once

#include "skin/skin_vocabulary.h"

const SkinVocabulary &guiSkinVocabulary();

// Element kinds of the object elements.
enum GuiSkinKind : int {
    kGuiKindButton = kSkinKindFirstFree,
    kGuiKindLamp,
    kGuiKindCheckBox,
    kGuiKindDisplay,
    kGuiKindKnob,
    kGuiKindSlider,
    kGuiKindCombo,
    kGuiKindListbox,
    kGuiKindRadioGroup,
    kGuiKindRadioItem,
    kGuiKindMeter,
    kGuiKindApGraph,
    kGuiKindDynGraph,
    kGuiKindLabel,
    kGuiKindImage,
    kGuiKindChild, // attribute-only children: position, text, color, mode, bitmap, drop, type
};
