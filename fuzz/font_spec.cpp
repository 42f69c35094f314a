// Font specifications from L_Font.ini and the pixel height of their point size.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "shell/fonts.h"

namespace {

constexpr int LAYOUT_DPI = 96;

// One number of the model: sign and digits, valued by the C library, held within int.
bool ModelNumber(const std::string& text, size_t* pos, long long* value) {
  size_t i = *pos;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i == digits) return false;
  long long v = std::strtoll(text.substr(*pos, i - *pos).c_str(), nullptr, 10);
  *value = v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : v);
  *pos = i;
  return true;
}

// Four numbers separated by commas once the blanks are gone; what follows them is ignored.
std::optional<shell::FontSpec> ModelSpec(const std::string& value) {
  std::string compact;
  for (char c : value) {
    if (c != ' ' && c != '\t') compact += c;
  }
  long long n[4];
  size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && (pos >= compact.size() || compact[pos++] != ',')) return std::nullopt;
    if (!ModelNumber(compact, &pos, &n[i])) return std::nullopt;
  }
  if (n[0] <= 0) return std::nullopt;
  return shell::FontSpec{static_cast<int>(n[0]), n[1] == 1, n[2] == 1, n[3] == 1};
}

bool Same(const shell::FontSpec& a, const shell::FontSpec& b) {
  return a.size == b.size && a.bold == b.bold && a.italic == b.italic && a.underline == b.underline;
}

void CheckHeights(int size, int dpi) {
  long long height = shell::FontHeight(size, dpi);
  long long at96 = shell::FontHeight(size, LAYOUT_DPI);
  FUZZ_CHECK(height <= 0);
  // At the layout's own dpi the height is the size times 96/72, rounded to the nearest pixel.
  long long exact = (4LL * size + 1) / 3;
  FUZZ_CHECK(at96 == -(exact > INT_MAX ? INT_MAX : exact));
  if (dpi <= 0) FUZZ_CHECK(height == at96);
  // At any other dpi only the rounding through display pixels may move it.
  if (dpi > 0 && -height < INT_MAX && -at96 < INT_MAX) {
    FUZZ_CHECK(std::llabs(height - at96) <= LAYOUT_DPI / 2 / dpi + 2);
  }
  if (size < INT_MAX) FUZZ_CHECK(shell::FontHeight(size + 1, dpi) <= height);
}

}  // namespace

// Input: a 16-bit signed display dpi, then the value of an L_Font.ini entry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  int dpi = static_cast<int16_t>(in.U16());
  const std::string value = in.RestText();

  std::optional<shell::FontSpec> spec = shell::ParseFontSpec(value);
  std::optional<shell::FontSpec> model = ModelSpec(value);
  FUZZ_CHECK(spec.has_value() == model.has_value());
  if (!spec) return 0;
  FUZZ_CHECK(spec->size > 0);
  FUZZ_CHECK(Same(*spec, *model));

  // What the reader accepted survives being written out again with blanks sprinkled in.
  char again[96];
  std::snprintf(again, sizeof again, " %d ,%d,\t%d , %d", spec->size, spec->bold ? 1 : 0,
                spec->italic ? 1 : 0, spec->underline ? 1 : 0);
  std::optional<shell::FontSpec> reread = shell::ParseFontSpec(again);
  FUZZ_CHECK(reread && Same(*reread, *spec));

  CheckHeights(spec->size, dpi);
  return 0;
}
