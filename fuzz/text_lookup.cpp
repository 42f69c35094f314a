// Text lookup on double-byte settings files: any bytes under the lead-byte ranges of the
// double-byte code pages (and a single-byte one), with both line buffers, against models written
// the slow way.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/settings_model.h"
#include "shell/multibyte.h"
#include "shell/texts.h"
#include "tests/support/fake_platform.h"

namespace {

using fuzzing::ModelLines;
using fuzzing::ModelLookup;
using fuzzing::StartsDoubleByte;

constexpr unsigned CODE_PAGES[] = {932, 936, 949, 950, 1361, 1252};
constexpr char FOLDER[] = "C:\\S";
constexpr int NUMBER = 400;

std::string ModelText(const std::string& refer, const std::string& localize,
                      const std::string& fallback, size_t chunkSize,
                      const platform::CodePage& codePage, const std::string& number) {
  std::string key = number;
  std::string referred = ModelLookup(ModelLines(refer, chunkSize, &codePage), key);
  if (!referred.empty()) key = referred;
  std::string value = ModelLookup(ModelLines(localize, chunkSize, &codePage), key);
  if (value.empty()) value = ModelLookup(ModelLines(fallback, chunkSize, &codePage), key);
  std::string text;
  for (size_t pos = 0; pos < value.size();) {
    if (pos + 1 == value.size() && codePage.IsLeadByte(static_cast<uint8_t>(value[pos]))) break;
    if (StartsDoubleByte(&codePage, value, pos)) {
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
    FUZZ_CHECK(value == ModelLookup(ModelLines(*file, chunkSize, &codePage), number));
  }
  std::string text = texts.GetText(NUMBER);
  FUZZ_CHECK(text.size() < chunkSize);
  // Whole characters only: nothing that a caller appends can become a trail byte.
  FUZZ_CHECK(shell::WithoutCutCharacter(codePage, text) == text);
  FUZZ_CHECK(text == ModelText(refer, localize, fallback, chunkSize, codePage, number));
  return 0;
}
