#include "engine/ScriptName.h"

#include "platform/Ascii.h"

#include <algorithm>

namespace brennic::engine {

namespace {

bool isForbidden(unsigned char c) {
    constexpr std::string_view kForbidden = "/\\:*?\"<>|";
    return c < 0x20 || kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
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
    // Names are compared with their letter case folded.
    std::string name = Script_base_name(mapName, missionName, missionNumber);
    std::string folded = platform::asciiUpperCopy(name);
    if (m_used.insert(folded).second) {
        return name;
    }
    int& copy = m_nextCopy.try_emplace(std::move(folded), 2).first->second;
    do {
        const std::string suffix = "_" + std::to_string(copy++);
        name =
            Script_base_name(mapName, missionName, missionNumber, kBaseNameLength - suffix.size()) +
            suffix;
    } while (!m_used.insert(platform::asciiUpperCopy(name)).second);
    return name;
}

} // namespace brennic::engine
