#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace brennic::engine {

inline constexpr std::size_t kBaseNameLength = 26;

// MapName "_" MissionName "_" MissionNumber cut to at most `limit` characters: the mission name
// loses characters from its end first, then the map name, then the mission number. Characters no
// file name may hold on Windows or POSIX become "_", so a name never leaves the output folder.
std::string Script_base_name(std::string_view mapName, std::string_view missionName,
                             std::string_view missionNumber, std::size_t limit = kBaseNameLength);

// The base names created during one run, compared ignoring ASCII letter case (as Windows and
// macOS file systems do): a repeated name gets "_2", "_3", ... instead of replacing a script this
// run already wrote. The next number to try is kept per cut base, so claims take linear time
// however the names repeat.
class ScriptNames {
  public:
    std::string claim(std::string_view mapName, std::string_view missionName,
                      std::string_view missionNumber);

  private:
    std::unordered_set<std::string> m_used;
    std::unordered_map<std::string, int> m_nextCopy; // by upper-cased cut base
};

} // namespace brennic::engine
