// Fonts of numbered texts: specifications from L_Font.ini, the base font and the font cache.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "shell/texts.h"

namespace shell {

// Font number of the base font's specification.
constexpr int BASE_FONT_NUMBER = 999999;

struct FontSpec {
  int size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// Four comma-separated integers after removing every blank; none when not four numbers or when
// the size is not above 0.
std::optional<FontSpec> ParseFontSpec(const std::string& value);

// Pixel height the point size has at 96 dots per inch, whatever the display's dpi.
int FontHeight(int size, int dpi);

// Applies a specification to a description (face, charset and the rest stay).
ui::FontDescription ApplyFontSpec(ui::FontDescription description, const FontSpec& spec, int dpi);

// "%x%d%d%d" of height, weight, italic, underline.
std::string FontKey(const ui::FontDescription& description);

// Owns every font it creates; deletes them when destroyed.
class FontCache {
 public:
  FontCache(const Texts& texts, ui::Host& host) : texts_(texts), host_(host) {}
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // Creates the base font from the dialog font with the overrides of font 999999.
  void MakeBaseFont(const ui::FontDescription& dialogFont, int dpi);
  // Font of text number n; the base font when n has no valid specification.
  ui::Font FontFor(int number);
  std::optional<FontSpec> SpecFor(int number) const;

  ui::Font BaseFont() const { return baseFont_; }
  // The base font's description (face and character set), for fonts made on other surfaces.
  const ui::FontDescription& BaseDescription() const { return base_; }
  size_t CachedCount() const { return fonts_.size(); }

 private:
  const Texts& texts_;
  ui::Host& host_;
  ui::FontDescription base_;
  int dpi_ = 96;
  ui::Font baseFont_ = 0;
  std::map<std::string, ui::Font> cache_;
  std::vector<ui::Font> fonts_;  // every font created, for deletion
};

}  // namespace shell
