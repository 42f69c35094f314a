// Numbered texts, manual paths and guide texts.
#include "shell/texts.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/multibyte.h"

namespace shell {

namespace {

constexpr char REFER_FILE[] = "L_Refer.ini";
constexpr char LOCALIZE_FILE[] = "Localize.ini";
constexpr char CONST_FILE[] = "L_Const.ini";
constexpr char MANUAL_FILE[] = "Manual.ini";
constexpr char GUIDE_FILE[] = "Guide.ini";
constexpr int GUIDE_LAST = 3;
// Guide texts are a few lines; anything larger is not a guide file.
constexpr uint64_t GUIDE_MAX_BYTES = 1u << 24;

std::string Format(const char* format, int a, int b) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

}  // namespace

std::string TextKey(int number, TextKeyStyle style) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, style == TextKeyStyle::Zeros00 ? "00%06d" : "%08d", number);
  return buffer;
}

std::string Texts::GetText(int number) const {
  std::string key = Key(number);
  std::string refer = reader_.ReadSetting(REFER_FILE, key);
  if (!refer.empty()) key = refer;
  std::string text = reader_.ReadSetting(LOCALIZE_FILE, key);
  if (text.empty()) text = reader_.ReadSetting(CONST_FILE, key);
  // A text saved in another code page, or cut short, may end in half a character; it would
  // swallow whatever a caller puts after it ("%s : ", "%s=%d").
  const platform::CodePage& codePage = reader_.SystemCodePage();
  text = WithoutCutCharacter(codePage, text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = CharacterLength(codePage, text.data() + i, text.size() - i);
    // A "\" that is the trail byte of 表 or ソ is no escape.
    if (length == 1 && text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out.push_back('\n');
      i += 2;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  return out;
}

std::string Texts::ManualPath(int page, int topic, const std::string& installPath) const {
  std::string value = reader_.ReadSetting(MANUAL_FILE, Format("MANUAL_%02d%02d", page, topic));
  if (value.empty()) return std::string();
  return JoinPath(installPath, value);
}

std::string Texts::GuideText(int guide, const std::string& programDirectory) const {
  if (guide < 0 || guide > GUIDE_LAST) return std::string();
  std::string value = reader_.ReadSetting(GUIDE_FILE, Format("GUIDE_%02d00", guide, 0));
  if (value.empty()) return std::string();
  std::string path = JoinPath(programDirectory, value);
  platform::Files& files = reader_.FileSystem();
  uint64_t size = 0;
  if (!files.Size(path, &size) || size > GUIDE_MAX_BYTES) return std::string();
  std::vector<uint8_t> buffer(static_cast<size_t>(size) + 1, 0);
  if (files.ReadExclusive(path, buffer.data(), size) < 0) return std::string();
  const char* text = reinterpret_cast<const char*>(buffer.data());
  return std::string(text, strnlen(text, buffer.size()));
}

}  // namespace shell
