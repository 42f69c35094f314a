// The settings-file reader.
#include "shell/settings_reader.h"

#include <climits>
#include <cstring>

#include "shell/multibyte.h"

namespace shell {

namespace {

// Walks the content as fgets would in text mode, without copying: CR LF counts as one line
// feed, and each chunk holds at most chunkSize - 1 bytes, ending after a line feed or, in a long
// line, before a character that would not fit whole.
class ChunkedLines {
 public:
  ChunkedLines(const std::string& content, size_t chunkSize, const platform::CodePage& codePage)
      : data_(content.data()),
        size_(content.size()),
        room_(chunkSize > 1 ? chunkSize - 1 : 1),
        codePage_(codePage) {}

  // The next chunk as [*begin, *begin + *length), its line feed (and the CR before it) excluded.
  bool Next(const char** begin, size_t* length) {
    if (pos_ >= size_) return false;
    const char* start = data_ + pos_;
    size_t left = size_ - pos_;
    const char* feed = static_cast<const char*>(std::memchr(start, '\n', left));
    size_t text = feed ? static_cast<size_t>(feed - start) : left;  // bytes before the feed
    bool crlf = feed && text > 0 && start[text - 1] == '\r';
    size_t translated = feed ? text - (crlf ? 1 : 0) + 1 : text;
    if (translated > room_) {
      // A long line: its first room bytes are a chunk of their own (no CR LF lies inside them),
      // less a lead byte whose trail byte lies beyond them.
      size_t line = text - (crlf ? 1 : 0);
      *begin = start;
      *length = CharacterPrefix(codePage_, start, line, room_);
      pos_ += *length;
      return true;
    }
    *begin = start;
    *length = feed ? text - (crlf ? 1 : 0) : text;
    pos_ += feed ? text + 1 : text;
    return true;
  }

 private:
  const char* data_;
  size_t size_;
  size_t room_;
  const platform::CodePage& codePage_;
  size_t pos_ = 0;
};

std::string Lookup(const std::string& content, const std::string& key, size_t chunkSize,
                   const platform::CodePage& codePage, int depth) {
  if (depth > SETTINGS_ALIAS_DEPTH) return std::string();
  ChunkedLines lines(content, chunkSize, codePage);
  const char* chunk;
  size_t length;
  while (lines.Next(&chunk, &length)) {
    if (length <= key.size() || std::memcmp(chunk, key.data(), key.size()) != 0) continue;
    // The line is a C string: a zero byte ends it.
    length = strnlen(chunk, length);
    if (length <= key.size()) continue;
    char separator = chunk[key.size()];
    std::string rest(chunk + key.size() + 1, length - key.size() - 1);
    if (separator == '=') return rest;
    if (separator == ':') return Lookup(content, rest, chunkSize, codePage, depth + 1);
  }
  return std::string();
}

}  // namespace

std::string LookupSetting(const std::string& content, const std::string& key, size_t chunkSize,
                          const platform::CodePage& codePage) {
  return Lookup(content, key, chunkSize, codePage, 0);
}

SettingsReader::SettingsReader(platform::Files& files, std::string folder, size_t chunkSize,
                               const platform::CodePage& codePage)
    : files_(files), folder_(std::move(folder)), chunkSize_(chunkSize), codePage_(codePage) {}

std::string SettingsReader::ReadSetting(const std::string& fileName, const std::string& key) const {
  std::string content;
  if (!files_.ReadAll(JoinPath(folder_, fileName), &content)) return std::string();
  return LookupSetting(content, key, chunkSize_, codePage_);
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
