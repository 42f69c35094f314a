// A settings file read the slow and obvious way, for the lookup targets to hold the reader
// against: text-mode translation, then fgets-sized C strings, then the first "key=" or "key:".
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "shell/settings_reader.h"

namespace fuzzing {

// A character of two bytes starts at pos: a lead byte with a trail byte that is not a line end.
inline bool StartsDoubleByte(const platform::CodePage* codePage, const std::string& text,
                             size_t pos) {
  return codePage && pos + 1 < text.size() && text[pos + 1] != '\n' && text[pos + 1] != '\0' &&
         codePage->IsLeadByte(static_cast<uint8_t>(text[pos]));
}

// Buffers of chunkSize - 1 bytes that end after a line feed or before a character that would not
// fit whole; without a code page every character is one byte.
inline std::vector<std::string> ModelLines(const std::string& content, size_t chunkSize,
                                           const platform::CodePage* codePage = nullptr) {
  std::string text;
  for (size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
    text.push_back(content[i]);
  }
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    std::string chunk;
    while (pos < text.size() && chunk.size() < chunkSize - 1) {
      if (text[pos] == '\n') {
        chunk.push_back(text[pos++]);
        break;
      }
      size_t length = StartsDoubleByte(codePage, text, pos) ? 2 : 1;
      if (chunk.size() + length > chunkSize - 1) break;
      chunk.append(text, pos, length);
      pos += length;
    }
    chunk.resize(strnlen(chunk.c_str(), chunk.size()));
    if (!chunk.empty() && chunk.back() == '\n') chunk.pop_back();
    lines.push_back(chunk);
  }
  return lines;
}

inline std::string ModelLookup(const std::vector<std::string>& lines, const std::string& key,
                               int depth = 0) {
  if (depth > shell::SETTINGS_ALIAS_DEPTH) return std::string();
  for (const std::string& line : lines) {
    if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0) continue;
    std::string rest = line.substr(key.size() + 1);
    if (line[key.size()] == '=') return rest;
    if (line[key.size()] == ':') return ModelLookup(lines, rest, depth + 1);
  }
  return std::string();
}

}  // namespace fuzzing
