// The Japanese settings tree (install/ja) against the English one it replaces in a Japanese
// package: the same text files, the same keys in the same sections, each key once, every byte
// sequence a code page 932 character, and the same line breaks in every text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path INSTALL_DIR = fs::path(KD_SOURCE_DIR) / "install";
const fs::path JAPANESE_DIR = INSTALL_DIR / "ja";
const char* const SETTINGS_FOLDERS[] = {"Settings", "Kestrune/Settings", "Sunnabar/Settings",
                                        "Trevalo/Settings"};
// Tables and pictures that hold no wording: every language installs the English ones.
const std::set<std::string> LANGUAGE_NEUTRAL = {"MediaP1.ini", "PaperSet.ini", "Printer.ini",
                                                "Setting_Launch.ini", "Sample.bmp"};

std::string Content(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::set<std::string> TextFiles(const fs::path& root) {
  std::set<std::string> files;
  for (const char* folder : SETTINGS_FOLDERS) {
    if (!fs::is_directory(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      if (!entry.is_regular_file()) continue;
      if (LANGUAGE_NEUTRAL.count(entry.path().filename().string()) != 0) continue;
      files.insert(fs::relative(entry.path(), root).generic_string());
    }
  }
  return files;
}

// Section header -> key -> value; a key seen twice in a section is reported.
using Sections = std::map<std::string, std::map<std::string, std::string>>;
Sections ReadSections(const std::string& file, const std::string& content) {
  Sections sections;
  std::istringstream lines(content);
  std::string line, section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line;
      sections[section];
      continue;
    }
    size_t separator = line.find_first_of("=:");
    if (separator == std::string::npos) continue;
    bool fresh =
        sections[section].emplace(line.substr(0, separator), line.substr(separator)).second;
    EXPECT_TRUE(fresh) << file << " " << section << " " << line.substr(0, separator);
  }
  return sections;
}

// Offset of the first byte that is not part of a code page 932 character, or npos.
size_t FirstNonCp932Byte(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (c == 0x80 || c == 0xA0 || c >= 0xFD) return i;
    if (!lead) continue;
    if (i + 1 >= text.size()) return i;
    unsigned char trail = static_cast<unsigned char>(text[++i]);
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return i - 1;
  }
  return std::string::npos;
}

size_t LineBreaks(const std::string& value) {
  size_t count = 0;
  for (size_t at = value.find("\\n"); at != std::string::npos; at = value.find("\\n", at + 2)) {
    ++count;
  }
  return count;
}

TEST(JapaneseSettings, SameFilesSectionsAndKeysAsTheEnglishInCodePage932) {
  std::set<std::string> english = TextFiles(INSTALL_DIR);
  std::set<std::string> japanese = TextFiles(JAPANESE_DIR);
  ASSERT_FALSE(english.empty());
  EXPECT_EQ(japanese, english);
  for (const std::string& file : japanese) {
    SCOPED_TRACE(file);
    std::string content = Content(JAPANESE_DIR / file);
    EXPECT_EQ(FirstNonCp932Byte(content), std::string::npos);
    if (fs::path(file).extension() != ".ini" || english.count(file) == 0) continue;
    Sections theirs = ReadSections("ja/" + file, content);
    Sections ours = ReadSections(file, Content(INSTALL_DIR / file));
    ASSERT_EQ(theirs.size(), ours.size());
    for (const auto& [section, keys] : ours) {
      ASSERT_EQ(theirs.count(section), 1u) << section;
      const auto& translated = theirs.at(section);
      EXPECT_EQ(translated.size(), keys.size()) << section;
      for (const auto& [key, value] : keys) {
        auto found = translated.find(key);
        ASSERT_NE(found, translated.end()) << section << " " << key;
        EXPECT_EQ(LineBreaks(found->second), LineBreaks(value)) << key;
      }
    }
  }
}

TEST(JapaneseSettings, ManualPagesNamedAreShipped) {
  for (const char* file : {"Settings/Manual.ini", "Sunnabar/Settings/Manual.ini"}) {
    for (const auto& [section, keys] : ReadSections(file, Content(JAPANESE_DIR / file))) {
      for (const auto& [key, value] : keys) {
        std::string page = value.substr(1);
        for (char& c : page) c = c == '\\' ? '/' : c;
        EXPECT_TRUE(fs::is_regular_file(INSTALL_DIR / "Maroset" / page)) << file << " " << key;
      }
    }
  }
}

}  // namespace
