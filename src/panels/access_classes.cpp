#include "panels/access_classes.h"

#include "panels/binding_table.h"

namespace orba {

uint32_t restrictionClass(int controlId)
{
    // Numbers shared by two panels carry the same class, so the first binding answers.
    for (const panels::Binding &b : panels::kBindings) {
        if (int(b.number) == controlId)
            return b.access;
    }
    return kRestrictSettings;
}

} // namespace orba
