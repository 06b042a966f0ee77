#pragma once

#include "engine/RunNotes.h"
#include "platform/IoError.h"
#include "report/ReportText.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brennic::report {

// The checks a script alone allows, fed one line at a time: names of the converter's families
// (OBJECTn, playern) used but declared nowhere in the script, letter case ignored as GTA2's
// compiler ignores it, and the statements the converter left for the user as comments.
class ScriptCheck {
  public:
    // The script's next line, without its line end; marker: the marker it is, if it is one.
    void addLine(std::string_view text, std::optional<engine::Marker> marker);
    // What is left, in line order; a line that uses two undeclared names gives two items.
    std::vector<Item> findings() const;

  private:
    // A line that holds a marker (reason set) or uses names of the families (names set).
    struct Candidate {
        int scriptLine = 0;
        std::string statement{};
        std::string_view reason{};
        std::vector<std::string> names{}; // as written, each once
    };

    int m_lines = 0;
    std::unordered_set<std::string> m_declared; // upper-cased
    std::vector<Candidate> m_candidates;
    std::vector<std::string_view> m_words; // of the line being added, kept for its room
};

// The marker a script line is, by how it begins (after blanks and tabs a user may have indented
// it with): how a script read on its own tells what the converter left.
std::optional<engine::Marker> Find_marker(std::string_view text);

// Checks a script file, whatever its line ends, into its block under `name`; nullopt with the
// error when it cannot be read whole.
std::optional<Block> Check_script_file(const std::filesystem::path& path, std::string name,
                                       platform::IoError& error);

} // namespace brennic::report
