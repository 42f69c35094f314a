// Settings lookup on any file content and key, with both line buffer sizes, against a model
// written the slow and obvious way (text-mode translation, then fgets-sized C strings).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "shell/settings_reader.h"

namespace {

constexpr size_t KEY_LIMIT = 32;

std::vector<std::string> ModelLines(const std::string& content, size_t chunkSize) {
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
      char c = text[pos++];
      chunk.push_back(c);
      if (c == '\n') break;
    }
    chunk.resize(strnlen(chunk.c_str(), chunk.size()));
    if (!chunk.empty() && chunk.back() == '\n') chunk.pop_back();
    lines.push_back(chunk);
  }
  return lines;
}

std::string ModelLookup(const std::vector<std::string>& lines, const std::string& key, int depth) {
  if (depth > shell::SETTINGS_ALIAS_DEPTH) return std::string();
  for (const std::string& line : lines) {
    if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0) continue;
    std::string rest = line.substr(key.size() + 1);
    if (line[key.size()] == '=') return rest;
    if (line[key.size()] == ':') return ModelLookup(lines, rest, depth + 1);
  }
  return std::string();
}

}  // namespace

// Input: key length byte, key (a C string: cut at its first zero), then the file content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  std::string key = in.Text(in.Byte() % (KEY_LIMIT + 1));
  key.resize(strnlen(key.c_str(), key.size()));
  const std::string content = in.RestText();

  for (size_t chunkSize : {shell::SETTINGS_LINE_CHUNK, shell::SETTINGS_LINE_CHUNK_TREVALO}) {
    std::string value = shell::LookupSetting(content, key, chunkSize);
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(value.find('\0') == std::string::npos);
    // The value and at least its separator share one line buffer with the terminating zero.
    FUZZ_CHECK(value.size() + 2 <= chunkSize);
    FUZZ_CHECK(value.empty() || content.find(value) != std::string::npos);
    FUZZ_CHECK(value == ModelLookup(ModelLines(content, chunkSize), key, 0));
  }
  return 0;
}
