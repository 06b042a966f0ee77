#pragma once

#include "engine/Conversion.h"

#include <span>
#include <string_view>

namespace brennic::engine {

// One object kind: the text that must stand at the kind word (letter case ignored; a trailing
// blank is part of the test), the switch that must be on (none for kinds always translated) and
// its translation, entered with the cursor on the first letter of the kind word.
struct ObjectKind {
    std::string_view matchText;
    Switch enabledBy = nullptr;
    Translation translate = nullptr;
};

// The kinds in the order they are tried.
std::span<const ObjectKind> Object_kinds();

// The object part of a line: reads the coordinate triple from the cursor and translates the first
// kind that matches. An object part nothing translates becomes a "// " comment under chkUnknown;
// either way the line counts as handled, so the end of the line adds no second comment.
void Translate_object(Conversion& conversion);

} // namespace brennic::engine
