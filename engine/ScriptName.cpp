#include "engine/ScriptName.h"

#include <algorithm>

namespace brennic::engine {

namespace {

bool isForbidden(unsigned char c) {
    constexpr std::string_view kForbidden = "/\\:*?\"<>|";
    return c < 0x20 || kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

} // namespace

std::string Script_base_name(std::string_view mapName, std::string_view missionName,
                             std::string_view missionNumber, std::size_t limit) {
    std::size_t excess = mapName.size() + missionName.size() + missionNumber.size() + 2;
    excess = excess > limit ? excess - limit : 0;
    for (std::string_view* part : {&missionName, &mapName, &missionNumber}) {
        const std::size_t cut = std::min(excess, part->size());
        part->remove_suffix(cut);
        excess -= cut;
    }
    std::string name;
    name.reserve(limit);
    name.append(mapName).append("_").append(missionName).append("_").append(missionNumber);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return isForbidden(static_cast<unsigned char>(c)); },
        '_');
    return name;
}

std::string ScriptNames::claim(std::string_view mapName, std::string_view missionName,
                               std::string_view missionNumber) {
    std::string name = Script_base_name(mapName, missionName, missionNumber);
    for (int copy = 2; !m_used.insert(lowered(name)).second; ++copy) {
        std::string suffix = "_";
        suffix += std::to_string(copy);
        name =
            Script_base_name(mapName, missionName, missionNumber, kBaseNameLength - suffix.size()) +
            suffix;
    }
    return name;
}

} // namespace brennic::engine
