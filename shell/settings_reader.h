// The reader every settings file of the suite shares: key=value lines, key:alias lines.
#pragma once

#include <cstddef>
#include <string>

#include "platform/code_page.h"
#include "platform/files.h"

namespace shell {

// Line buffer sizes: a longer line is read as several consecutive lines.
constexpr size_t SETTINGS_LINE_CHUNK = 256;
constexpr size_t SETTINGS_LINE_CHUNK_TREVALO = 512;

// An alias chain deeper than this (a loop, in practice) yields the empty string.
constexpr int SETTINGS_ALIAS_DEPTH = 16;

// Looks key up in the content of one settings file as the reader sees it: text mode lines of at
// most chunkSize - 1 bytes, first match wins, no trimming, aliases restart from the top. Keys are
// compared byte for byte. A line longer than a chunk is cut between characters of codePage, so
// the next chunk starts with the double-byte character that would not fit.
std::string LookupSetting(const std::string& content, const std::string& key, size_t chunkSize,
                          const platform::CodePage& codePage = platform::SingleByte());

class SettingsReader {
 public:
  // codePage: the system's, in which the files are written; it must outlive the reader.
  SettingsReader(platform::Files& files, std::string folder, size_t chunkSize,
                 const platform::CodePage& codePage = platform::SingleByte());

  // Value of key in folder\fileName, read anew at every call; empty when the file cannot be
  // opened or no line matches.
  std::string ReadSetting(const std::string& fileName, const std::string& key) const;

  const std::string& Folder() const { return folder_; }
  platform::Files& FileSystem() const { return files_; }
  const platform::CodePage& SystemCodePage() const { return codePage_; }

 private:
  platform::Files& files_;
  std::string folder_;
  size_t chunkSize_;
  const platform::CodePage& codePage_;
};

// folder + "\" + name, the system's way of joining.
std::string JoinPath(const std::string& folder, const std::string& name);

// atoi: optional blanks and sign, then leading digits; 0 when none. Saturates instead of
// overflowing.
int ParseLeadingInt(const std::string& text);

}  // namespace shell
