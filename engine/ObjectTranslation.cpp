#include "engine/ObjectTranslation.h"

#include <span>

namespace brennic::engine {

namespace {

constexpr std::span<const ObjectKind> kKinds{};

} // namespace

std::span<const ObjectKind> Object_kinds() { return kKinds; }

void Translate_object(Conversion& conversion) {
    MissionLine& line = conversion.line;
    if (!Read_coordinates(line, conversion.options)) {
        return;
    }
    for (const ObjectKind& kind : kKinds) {
        if ((kind.enabledBy == nullptr || conversion.options.*kind.enabledBy) &&
            Is_keyword_at_cursor(line, kind.matchText)) {
            kind.translate(conversion);
            conversion.blnLineHandled = true;
            return;
        }
    }
    if (conversion.options.chkUnknown && !line.strRead.empty()) {
        conversion.write({"// ", line.strRead});
    }
    conversion.blnLineHandled = true;
}

} // namespace brennic::engine
