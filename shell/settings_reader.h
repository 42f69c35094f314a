// The reader every settings file of the suite shares: key=value lines, key:alias lines.
#pragma once

#include <cstddef>
#include <string>

#include "platform/files.h"

namespace shell {

// Line buffer sizes: a longer line is read as several consecutive lines.
constexpr size_t SETTINGS_LINE_CHUNK = 256;
constexpr size_t SETTINGS_LINE_CHUNK_TREVALO = 512;

// An alias chain deeper than this (a loop, in practice) yields the empty string.
constexpr int SETTINGS_ALIAS_DEPTH = 16;

// Looks key up in the content of one settings file as the reader sees it: text mode lines of at
// most chunkSize - 1 bytes, first match wins, no trimming, aliases restart from the top.
std::string LookupSetting(const std::string& content, const std::string& key, size_t chunkSize);

class SettingsReader {
 public:
  SettingsReader(platform::Files& files, std::string folder, size_t chunkSize);

  // Value of key in folder\fileName, read anew at every call; empty when the file cannot be
  // opened or no line matches.
  std::string ReadSetting(const std::string& fileName, const std::string& key) const;

  const std::string& Folder() const { return folder_; }
  platform::Files& FileSystem() const { return files_; }

 private:
  platform::Files& files_;
  std::string folder_;
  size_t chunkSize_;
};

// folder + "\" + name, the system's way of joining.
std::string JoinPath(const std::string& folder, const std::string& name);

// atoi: optional blanks and sign, then leading digits; 0 when none. Saturates instead of
// overflowing.
int ParseLeadingInt(const std::string& text);

}  // namespace shell
