#include "settings/SettingsFile.h"

#include "engine/NumberReading.h"
#include "engine/RunFailure.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include "platform/WideText.h"

#include <objbase.h>
#include <shlobj.h>
#endif

namespace brennic::settings {

using engine::ErrorNumber;
using engine::kSwitchKeys;

namespace {

constexpr std::array<std::string_view, 3> kOffsetKeys{"Xoffset", "Yoffset", "Zoffset"};

// A long value would fill the load box; its start is enough to recognise it.
constexpr std::size_t kShownValueLength = 40;

struct BadValue {
    std::string_view key;
    std::string value;
    ErrorNumber number = ErrorNumber::Overflow;
};

// A box value read as the Windows profile functions read an integer: a sign and the digits at
// its front, 0 when there are none. Empty when it is no box state, with the error number why.
std::optional<BoxState> boxStateOf(const std::string& text, ErrorNumber& number) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::invalid_argument) {
        return BoxState::Unticked;
    }
    value = negative ? -value : value;
    if (error == std::errc::result_out_of_range || value < -32768 || value > 32767) {
        number = ErrorNumber::Overflow;
        return std::nullopt;
    }
    if (value < 0 || value > 2) {
        number = ErrorNumber::InvalidPropertyValue;
        return std::nullopt;
    }
    return static_cast<BoxState>(value);
}

#ifdef _WIN32
// Texts are UTF-8 inside the program here, while earlier versions wrote and read the file's
// values in the bytes of the ANSI code page. So a value the code page can hold keeps those bytes;
// any other is stored as UTF-8 behind this marker, which earlier versions take for the start of
// a folder that does not exist. A text that begins with the marker itself is stored behind one
// more, so every text comes back as it was.
constexpr std::string_view kUtf8Marker = "utf8:";

std::string storedText(const std::string& text) {
    if (!text.starts_with(kUtf8Marker)) {
        if (auto bytes = platform::codePageFromWide(platform::wideFromUtf8(text))) {
            return *bytes;
        }
    }
    return std::string(kUtf8Marker) + text;
}

std::string textOfStored(const std::string& stored) {
    if (stored.starts_with(kUtf8Marker)) {
        return stored.substr(kUtf8Marker.size());
    }
    return platform::utf8FromWide(platform::wideFromCodePage(stored));
}
#else
// The bytes as they stand: names are bytes here, and so are the file's values.
std::string storedText(const std::string& text) { return text; }
std::string textOfStored(const std::string& stored) { return stored; }
#endif

LoadError errorOf(const std::vector<BadValue>& bad) {
    LoadError error{.source = std::string(kApplicationName),
                    .description = "Check box values other than 0, 1 or 2 were left unticked:",
                    .number = static_cast<int>(bad.front().number)};
    std::string_view separator = " ";
    for (const BadValue& entry : bad) {
        error.description += std::string(separator) + std::string(entry.key) + "=";
        error.description += entry.value.size() <= kShownValueLength
                                 ? entry.value
                                 : entry.value.substr(0, kShownValueLength) + "...";
        separator = ", ";
    }
    return error;
}

} // namespace

StoredSettings firstStartSettings() {
    StoredSettings settings;
    settings.offsets = {"1", "0.5", "-2"};
    return settings;
}

std::filesystem::path settingsFilePath(const std::filesystem::path& folder) {
    return platform::findFileIgnoringCase(folder, kSettingsFileName)
        .value_or(folder / platform::pathFromText(kSettingsFileName));
}

std::optional<std::filesystem::path> userSettingsFolder() {
#ifdef _WIN32
    PWSTR appData = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData))) {
        folder = std::filesystem::path(appData) / "BRENNIC";
    }
    ::CoTaskMemFree(appData);
    return folder;
#else
    // A relative path would put the settings into whatever folder the program was started from.
    const auto absolute = [](const char* variable) -> std::optional<std::filesystem::path> {
        const char* value = std::getenv(variable);
        if (value == nullptr || !platform::pathFromText(value).is_absolute()) {
            return std::nullopt;
        }
        return platform::pathFromText(value);
    };
    if (const auto config = absolute("XDG_CONFIG_HOME")) {
        return *config / "brennic";
    }
    if (const auto home = absolute("HOME")) {
        return *home / ".config" / "brennic";
    }
    return std::nullopt;
#endif
}

std::filesystem::path settingsFolder(const std::filesystem::path& programFolder) {
    if (platform::isWritableFolder(programFolder)) {
        return programFolder;
    }
    return userSettingsFolder().value_or(programFolder);
}

SettingsLoad LoadSettingsFile(const std::filesystem::path& path) {
    SettingsLoad load;
    load.settings = firstStartSettings();
    if (!platform::isFile(path)) {
        return load;
    }
    platform::IoError error;
    const auto profile = platform::ProfileFile::read(path, error);
    if (!profile) {
        load.readFailure = LoadError{.source = std::string(kApplicationName),
                                     .description = error.description,
                                     .number = static_cast<int>(engine::errorNumberOf(error.kind))};
        return load;
    }
    const auto text = [&profile](std::string_view key) {
        return profile->value(kSettingsSection, key).value_or("");
    };
    StoredSettings& settings = load.settings;
    settings.GTA1iniFile = textOfStored(text("GTA1iniFile"));
    settings.OutputFolder = textOfStored(text("OutputFolder"));
    std::vector<BadValue> bad;
    for (std::size_t i = 0; i < kSwitchKeys.size(); ++i) {
        const std::string value = text(kSwitchKeys[i].key);
        ErrorNumber number = ErrorNumber::Overflow;
        if (const std::optional<BoxState> state = boxStateOf(value, number)) {
            settings.boxes[i] = *state;
        } else {
            bad.push_back({kSwitchKeys[i].key, value, number});
        }
    }
    for (std::size_t i = 0; i < kOffsetKeys.size(); ++i) {
        settings.offsets[i] = textOfStored(text(kOffsetKeys[i]));
    }
    if (!bad.empty()) {
        load.badValues = errorOf(bad);
    }
    return load;
}

bool SaveSettingsFile(const std::filesystem::path& path, const StoredSettings& settings) {
    std::error_code ec; // a folder that cannot be made shows as a failed save below
    std::filesystem::create_directories(path.parent_path(), ec);
    platform::IoError error;
    auto profile = platform::ProfileFile::read(path, error);
    if (!profile) {
        return false;
    }
    const auto write = [&profile](std::string_view key, std::string_view value) {
        profile->setValue(kSettingsSection, key, value);
    };
    write("GTA1iniFile", storedText(settings.GTA1iniFile));
    write("OutputFolder", storedText(settings.OutputFolder));
    for (std::size_t i = 0; i < kSwitchKeys.size(); ++i) {
        write(kSwitchKeys[i].key, std::to_string(static_cast<int>(settings.boxes[i])));
    }
    for (std::size_t i = 0; i < kOffsetKeys.size(); ++i) {
        write(kOffsetKeys[i], storedText(settings.offsets[i]));
    }
    return profile->save(path);
}

std::variant<engine::ConversionOptions, LoadError>
optionsFromSettings(const StoredSettings& settings) {
    engine::ConversionOptions options;
    options.GTA1iniFile = settings.GTA1iniFile;
    options.OutputFolder = settings.OutputFolder;
    for (std::size_t i = 0; i < kSwitchKeys.size(); ++i) {
        options.*kSwitchKeys[i].member = settings.boxes[i] == BoxState::Ticked;
    }
    try {
        options.Xoffset = engine::Leading_number_value(settings.offsets[0]);
        options.Yoffset = engine::Leading_number_value(settings.offsets[1]);
        options.Zoffset = engine::Leading_number_value(settings.offsets[2]);
    } catch (const engine::RunFailure& failure) {
        return LoadError{failure.source(), failure.description(), failure.number()};
    }
    return options;
}

std::optional<std::filesystem::path> vehicleFilePath(const std::filesystem::path& programFolder) {
    if (auto beside = platform::findFileIgnoringCase(programFolder, "cars.ini")) {
        return beside;
    }
    const std::filesystem::path folder = settingsFolder(programFolder);
    return folder == programFolder ? std::nullopt
                                   : platform::findFileIgnoringCase(folder, "cars.ini");
}

std::optional<std::filesystem::path> vehicleFilePath() {
    return vehicleFilePath(platform::executableFolder());
}

} // namespace brennic::settings
