#pragma once

#include "platform/IoError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brennic::engine {

struct AddedTexts {
    int count = 0;                       // lines added to the text file
    std::vector<std::string> warnings{}; // from reading the GTA1 text file; they name it
};

// Puts the brief texts of a GTA1 text file into a text file of the e.txt form: one line
// "[" number "]" text, ended by CR LF, per number the text file does not give a text yet, in the
// GTA1 file's order, behind the text file's lines (a last line without a line end gets one) but
// before a Ctrl-Z, which ends the text for its reader. The bytes already there stay as they are.
// The text file is written only when a text is added, and replaced only once complete: a failure
// (nullopt, error set) leaves it as it was. A symbolic link is followed and stays a link.
std::optional<AddedTexts> Add_GTA1_texts(const std::filesystem::path& gta1File,
                                         const std::filesystem::path& textFile,
                                         platform::IoError& error);

} // namespace brennic::engine
