// Font specifications and the font cache.
#include "shell/fonts.h"

#include <climits>
#include <cstdint>
#include <cstdio>

namespace shell {

namespace {

constexpr char FONT_FILE[] = "L_Font.ini";
constexpr int WEIGHT_NORMAL = 400;
constexpr int WEIGHT_BOLD = 700;
constexpr int POINTS_PER_INCH = 72;
constexpr int LAYOUT_DPI = 96;

// One decimal integer as sscanf's %d reads it (sign, digits), saturating on overflow.
bool ReadInt(const std::string& text, size_t* pos, int* value) {
  size_t i = *pos;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t digits = i;
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (v <= INT_MAX) v = v * 10 + (text[i] - '0');
  }
  if (i == digits) return false;
  if (negative) v = -v;
  *value = static_cast<int>(v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : v));
  *pos = i;
  return true;
}

// MulDiv: a * b / c rounded to the nearest integer, half away from zero.
int64_t MulDivRounded(int64_t a, int64_t b, int64_t c) {
  int64_t product = a * b;
  int64_t half = c / 2;
  return product >= 0 ? (product + half) / c : (product - half) / c;
}

}  // namespace

std::optional<FontSpec> ParseFontSpec(const std::string& value) {
  std::string compact;
  for (char c : value) {
    if (c != ' ' && c != '\t') compact.push_back(c);
  }
  int numbers[4];
  size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= compact.size() || compact[pos] != ',') return std::nullopt;
      ++pos;
    }
    if (!ReadInt(compact, &pos, &numbers[i])) return std::nullopt;
  }
  if (numbers[0] <= 0) return std::nullopt;
  return FontSpec{numbers[0], numbers[1] == 1, numbers[2] == 1, numbers[3] == 1};
}

int FontHeight(int size, int dpi) {
  if (dpi <= 0) dpi = LAYOUT_DPI;
  int64_t scaled = MulDivRounded(size, dpi, POINTS_PER_INCH);
  int64_t height = (scaled * LAYOUT_DPI + dpi - 1) / dpi;
  return static_cast<int>(-(height > INT_MAX ? INT_MAX : height));
}

ui::FontDescription ApplyFontSpec(ui::FontDescription description, const FontSpec& spec, int dpi) {
  description.height = FontHeight(spec.size, dpi);
  description.weight = spec.bold ? WEIGHT_BOLD : WEIGHT_NORMAL;
  description.italic = spec.italic;
  description.underline = spec.underline;
  return description;
}

std::string FontKey(const ui::FontDescription& description) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%x%d%d%d", static_cast<unsigned>(description.height),
                description.weight, description.italic ? 1 : 0, description.underline ? 1 : 0);
  return buffer;
}

FontCache::~FontCache() {
  for (ui::Font font : fonts_) host_.DeleteFont(font);
  if (baseFont_ != 0) host_.DeleteFont(baseFont_);
}

std::optional<FontSpec> FontCache::SpecFor(int number) const {
  return ParseFontSpec(texts_.Reader().ReadSetting(FONT_FILE, texts_.Key(number)));
}

void FontCache::MakeBaseFont(const ui::FontDescription& dialogFont, int dpi) {
  dpi_ = dpi;
  base_ = dialogFont;
  if (auto spec = SpecFor(BASE_FONT_NUMBER)) base_ = ApplyFontSpec(base_, *spec, dpi_);
  if (baseFont_ != 0) host_.DeleteFont(baseFont_);
  baseFont_ = host_.CreateFont(base_);
}

ui::Font FontCache::FontFor(int number) {
  auto spec = SpecFor(number);
  if (!spec) return baseFont_;
  ui::FontDescription description = ApplyFontSpec(base_, *spec, dpi_);
  std::string key = FontKey(description);
  auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;
  ui::Font font = host_.CreateFont(description);
  if (font == 0) return baseFont_;
  cache_.emplace(key, font);
  fonts_.push_back(font);
  return font;
}

}  // namespace shell
