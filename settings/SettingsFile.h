#pragma once

#include "engine/ConversionOptions.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace brennic::settings {

// The window's choices between starts, kept in brennic.INI. Every front end reads and writes the
// file through this unit, so the CLI's --settings and both windows see the same bytes.

inline constexpr std::string_view kSettingsSection = "BRENNIC Settings";
inline constexpr std::string_view kSettingsFileName = "brennic.INI";
inline constexpr std::string_view kApplicationName = "BRENNIC";

// A check box as the file stores it: 0, 1 or 2. Greyed only ever comes from the file.
enum class BoxState : int { Unticked = 0, Ticked = 1, Greyed = 2 };

// The controls' values in the form the file holds them: texts unchanged, boxes as states.
struct StoredSettings {
    std::string GTA1iniFile{};
    std::string OutputFolder{};
    std::array<BoxState, engine::kSwitchKeys.size()> boxes{}; // in the order of kSwitchKeys
    std::array<std::string, 3> offsets{};                     // Xoffset, Yoffset, Zoffset

    bool operator==(const StoredSettings&) const = default;
};

// What went wrong with stored settings, worded for an error box: its source, description and
// number.
struct LoadError {
    std::string source{};
    std::string description{};
    int number = 0;
};

struct SettingsLoad {
    StoredSettings settings{};
    // Check box values that are no state (3, -1, 70000, ...): those boxes stay unticked and the
    // other keys load as usual.
    std::optional<LoadError> badValues{};
    // An existing file that could not be read (or is too large), with the error number its kind
    // of failure shows; the load then gives the first-start settings.
    std::optional<LoadError> readFailure{};
};

// No folders, every box unticked, offsets 1, 0.5 and -2.
StoredSettings firstStartSettings();

// The settings file of the program in folder, its name matched ignoring letter case; the exact
// name when there is none yet.
std::filesystem::path settingsFilePath(const std::filesystem::path& folder);

// The user's own folder for the program's files: $XDG_CONFIG_HOME/brennic when that is an
// absolute path, else $HOME/.config/brennic when HOME is one; on Windows BRENNIC in the user's
// roaming application data (%APPDATA%); nullopt when there is none.
std::optional<std::filesystem::path> userSettingsFolder();

// Where the settings file lives for the program in programFolder: beside it while that folder
// is writable (a build folder, a copy unpacked by hand), else (a program installed system-wide,
// or unpacked under Program Files) in userSettingsFolder(), and without one beside the program
// all the same (where it can be read but, most likely, not saved).
std::filesystem::path settingsFolder(const std::filesystem::path& programFolder);

// Reads the 40 keys. A missing file gives the first-start settings; in an existing file a missing
// key leaves its box unticked or its text empty, and a box value that is not a number reads 0.
// On Windows a text value is read in the ANSI code page, or as UTF-8 behind "utf8:", and written
// so: the code page's bytes when it can hold the text, else "utf8:" and the UTF-8.
SettingsLoad LoadSettingsFile(const std::filesystem::path& path);

// Writes the 40 keys in their fixed order into the file as it is now, keeping every other section
// and key; the file is replaced only once the new one is complete and on the disk, and a missing
// folder is made first. A symbolic link stays a link to the file it replaces. Nothing is written
// over a file that exists but cannot be read, is read-only or is no regular file. False when
// nothing was written.
bool SaveSettingsFile(const std::filesystem::path& path, const StoredSettings& settings);

// The complete options of a run, from settings as the window or the command line hold them: the
// folder texts as they stand, a box's switch on only when ticked (a greyed box counts as off), and
// the offsets read from their texts as the window reads them (their leading numbers, "." as the
// decimal point, &H and &O as hexadecimal and octal). An offset beyond the number range gives the
// error instead: no run can start.
std::variant<engine::ConversionOptions, LoadError>
optionsFromSettings(const StoredSettings& settings);

// The vehicle name file cars.ini (its name matched ignoring letter case) beside the program in
// programFolder, else in the settings folder of an installed program; nullopt for the built-in
// names.
std::optional<std::filesystem::path> vehicleFilePath(const std::filesystem::path& programFolder);
std::optional<std::filesystem::path> vehicleFilePath();

} // namespace brennic::settings
