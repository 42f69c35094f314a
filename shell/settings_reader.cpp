// The settings-file reader.
#include "shell/settings_reader.h"

#include <climits>
#include <cstring>

namespace shell {

namespace {

// Walks the content as fgets would in text mode: CR LF becomes LF, and each call yields at most
// chunkSize - 1 bytes, stopping after a line feed.
class ChunkedLines {
 public:
  ChunkedLines(const std::string& content, size_t chunkSize)
      : content_(content), room_(chunkSize > 1 ? chunkSize - 1 : 1) {}

  bool Next(std::string* line) {
    if (pos_ >= content_.size()) return false;
    line->clear();
    while (pos_ < content_.size() && line->size() < room_) {
      char c = content_[pos_];
      if (c == '\r' && pos_ + 1 < content_.size() && content_[pos_ + 1] == '\n') {
        ++pos_;
        continue;
      }
      line->push_back(c);
      ++pos_;
      if (c == '\n') break;
    }
    return true;
  }

 private:
  const std::string& content_;
  size_t room_;
  size_t pos_ = 0;
};

std::string Lookup(const std::string& content, const std::string& key, size_t chunkSize,
                   int depth) {
  if (depth > SETTINGS_ALIAS_DEPTH) return std::string();
  ChunkedLines lines(content, chunkSize);
  std::string chunk;
  while (lines.Next(&chunk)) {
    // The line is a C string: a zero byte ends it, and its line feed is not part of the value.
    size_t length = strnlen(chunk.data(), chunk.size());
    if (length > 0 && chunk[length - 1] == '\n') --length;
    if (length <= key.size() || chunk.compare(0, key.size(), key) != 0) continue;
    char separator = chunk[key.size()];
    std::string rest = chunk.substr(key.size() + 1, length - key.size() - 1);
    if (separator == '=') return rest;
    if (separator == ':') return Lookup(content, rest, chunkSize, depth + 1);
  }
  return std::string();
}

}  // namespace

std::string LookupSetting(const std::string& content, const std::string& key, size_t chunkSize) {
  return Lookup(content, key, chunkSize, 0);
}

SettingsReader::SettingsReader(platform::Files& files, std::string folder, size_t chunkSize)
    : files_(files), folder_(std::move(folder)), chunkSize_(chunkSize) {}

std::string SettingsReader::ReadSetting(const std::string& fileName,
                                        const std::string& key) const {
  std::string content;
  if (!files_.ReadAll(JoinPath(folder_, fileName), &content)) return std::string();
  return LookupSetting(content, key, chunkSize_);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

int ParseLeadingInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace shell
