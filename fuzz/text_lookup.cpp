// Text lookup on double-byte settings files: any bytes under the lead-byte ranges of the
// double-byte code pages (and a single-byte one), with both line buffers, against models written
// the slow way.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "shell/multibyte.h"
#include "shell/texts.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr unsigned CODE_PAGES[] = {932, 936, 949, 950, 1361, 1252};
constexpr char FOLDER[] = "C:\\S";
constexpr int NUMBER = 400;

bool Lead(const platform::CodePage& codePage, const std::string& text, size_t pos) {
  return pos + 1 < text.size() && text[pos + 1] != '\n' && text[pos + 1] != '\0' &&
         codePage.IsLeadByte(static_cast<uint8_t>(text[pos]));
}

// Text mode, then buffers of chunkSize - 1 bytes that end after a line feed or before a character
// that would not fit whole.
std::vector<std::string> ModelLines(const std::string& content, size_t chunkSize,
                                    const platform::CodePage& codePage) {
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
      size_t length = Lead(codePage, text, pos) ? 2 : 1;
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

std::string ModelText(const std::string& refer, const std::string& localize,
                      const std::string& fallback, size_t chunkSize,
                      const platform::CodePage& codePage, const std::string& number) {
  std::string key = number;
  std::string referred = ModelLookup(ModelLines(refer, chunkSize, codePage), key, 0);
  if (!referred.empty()) key = referred;
  std::string value = ModelLookup(ModelLines(localize, chunkSize, codePage), key, 0);
  if (value.empty()) value = ModelLookup(ModelLines(fallback, chunkSize, codePage), key, 0);
  std::string text;
  for (size_t pos = 0; pos < value.size();) {
    if (pos + 1 == value.size() && codePage.IsLeadByte(static_cast<uint8_t>(value[pos]))) break;
    if (Lead(codePage, value, pos)) {
      text.append(value, pos, 2);
      pos += 2;
    } else if (value.compare(pos, 2, "\\n") == 0) {
      text.push_back('\n');
      pos += 2;
    } else {
      text.push_back(value[pos++]);
    }
  }
  return text;
}

}  // namespace

// Input: code page byte, line buffer byte (odd: Trevalo's), L_Refer.ini length byte and content,
// Localize.ini 16-bit length and content, then L_Const.ini.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  fakes::FakeCodePage codePage(CODE_PAGES[in.Byte() % (sizeof CODE_PAGES / sizeof *CODE_PAGES)]);
  size_t chunkSize =
      in.Byte() % 2 ? shell::SETTINGS_LINE_CHUNK_TREVALO : shell::SETTINGS_LINE_CHUNK;
  const std::string refer = in.Text(in.Byte());
  const std::string localize = in.Text(in.U16());
  const std::string fallback = in.RestText();

  fakes::FakeFiles files;
  files.Put(std::string(FOLDER) + "\\L_Refer.ini", refer);
  files.Put(std::string(FOLDER) + "\\Localize.ini", localize);
  files.Put(std::string(FOLDER) + "\\L_Const.ini", fallback);
  shell::SettingsReader reader(files, FOLDER, chunkSize, codePage);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  const std::string number = texts.Key(NUMBER);

  for (const std::string* file : {&refer, &localize, &fallback}) {
    std::string value = shell::LookupSetting(*file, number, chunkSize, codePage);
    FUZZ_CHECK(value.size() + 2 <= chunkSize);
    FUZZ_CHECK(value.empty() || file->find(value) != std::string::npos);
    FUZZ_CHECK(value == ModelLookup(ModelLines(*file, chunkSize, codePage), number, 0));
  }
  std::string text = texts.GetText(NUMBER);
  FUZZ_CHECK(text.size() < chunkSize);
  // Whole characters only: nothing that a caller appends can become a trail byte.
  FUZZ_CHECK(shell::WithoutCutCharacter(codePage, text) == text);
  FUZZ_CHECK(text == ModelText(refer, localize, fallback, chunkSize, codePage, number));
  return 0;
}
