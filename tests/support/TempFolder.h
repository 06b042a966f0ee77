#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace brennic::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder's path as the program's folder texts hold it: ending with a separator.
    std::string text() const;
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

  private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::string readFile(const std::filesystem::path& path);
// Every file under root with its bytes, and every folder as "name/" without any, by their paths
// relative to root; none when root does not exist.
std::map<std::string, std::string> filesIn(const std::filesystem::path& root);

} // namespace brennic::test
