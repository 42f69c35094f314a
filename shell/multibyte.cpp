// Character-wise walks over multibyte texts and paths.
#include "shell/multibyte.h"

namespace shell {

size_t CharacterLength(const platform::CodePage& codePage, const char* text, size_t left) {
  return left > 1 && text[1] != '\0' && codePage.IsLeadByte(static_cast<uint8_t>(text[0])) ? 2 : 1;
}

size_t CharacterPrefix(const platform::CodePage& codePage, const char* text, size_t length,
                       size_t limit) {
  if (length <= limit) return length;
  size_t pos = 0;
  while (pos < limit) {
    size_t next = pos + CharacterLength(codePage, text + pos, length - pos);
    if (next > limit) break;
    pos = next;
  }
  return pos > 0 ? pos : limit;
}

std::string WithoutCutCharacter(const platform::CodePage& codePage, const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t length = CharacterLength(codePage, text.data() + pos, text.size() - pos);
    if (length == 1 && pos + 1 == text.size() &&
        codePage.IsLeadByte(static_cast<uint8_t>(text[pos]))) {
      return text.substr(0, pos);
    }
    pos += length;
  }
  return text;
}

size_t LastBackslash(const platform::CodePage& codePage, const std::string& path) {
  size_t found = std::string::npos;
  for (size_t pos = 0; pos < path.size();) {
    if (path[pos] == '\\') found = pos;
    pos += CharacterLength(codePage, path.data() + pos, path.size() - pos);
  }
  return found;
}

std::string DirectoryOf(const platform::CodePage& codePage, const std::string& path) {
  size_t slash = LastBackslash(codePage, path);
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const platform::CodePage& codePage, const std::string& path) {
  size_t slash = LastBackslash(codePage, path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace shell
