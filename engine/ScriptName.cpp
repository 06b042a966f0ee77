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
    if (m_used.insert(platform::asciiUpperCopy(name)).second) {
        return name;
    }
    // A repeat takes the first free number behind its base, cut to make room for the suffix. The
    // next number to try is kept per cut base, not per name: names that differ only where the cut
    // falls share one count, so every taken name is passed over once, not once per repeat.
    for (int digits = 1, first = 2, end = 10;; ++digits, first = end, end *= 10) {
        const std::string base =
            Script_base_name(mapName, missionName, missionNumber,
                             kBaseNameLength - 1 - static_cast<std::size_t>(digits));
        int& next = m_nextCopy.try_emplace(platform::asciiUpperCopy(base), first).first->second;
        for (next = std::max(next, first); next < end; ++next) {
            name = base + "_" + std::to_string(next);
            if (m_used.insert(platform::asciiUpperCopy(name)).second) {
                ++next;
                return name;
            }
        }
    }
}

} // namespace brennic::engine
