// Reading a rendered document the way a test would look at a printed page: which title the job
// carries and which texts were drawn. Only the operators the drivers use for text and pictures
// are looked at; everything else (fonts, paths, picture data) passes unread.
#include "sim/document_reader.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "link/hex.h"

namespace sim {

namespace {

constexpr char END_OF_FILE[] = "%%EOF";
constexpr char TITLE_COMMENT[] = "%%Title:";
constexpr char END_COMMENTS[] = "%%EndComments";
constexpr char GLYPH_SHOW[] = " glyphshow";
constexpr char STRING_SHOW[] = ") show";
constexpr char MOVE_TO[] = " moveto";
constexpr char SHOW_PAGE[] = "showpage";
constexpr char ASCII85_FILTER[] = "/ASCII85Decode";
constexpr char ASCII85_END[] = "~>";
constexpr char RECORD_HEAD[] = "sample job ";
constexpr size_t OCTAL_DIGITS = 3;

// Standard glyph names of the printable ASCII characters (and the spaces the fonts name
// otherwise), so that a glyph shown by name reads back as the character it stands for.
struct GlyphName {
  const char* name;
  char32_t character;
};
constexpr GlyphName GLYPH_NAMES[] = {
    {"space", U' '},        {"nbspace", U' '},     {"nonbreakingspace", U' '},
    {"exclam", U'!'},       {"quotedbl", U'"'},    {"numbersign", U'#'},
    {"dollar", U'$'},       {"percent", U'%'},     {"ampersand", U'&'},
    {"quotesingle", U'\''}, {"quoteright", U'\''}, {"parenleft", U'('},
    {"parenright", U')'},   {"asterisk", U'*'},    {"plus", U'+'},
    {"comma", U','},        {"hyphen", U'-'},      {"minus", U'-'},
    {"period", U'.'},       {"slash", U'/'},       {"zero", U'0'},
    {"one", U'1'},          {"two", U'2'},         {"three", U'3'},
    {"four", U'4'},         {"five", U'5'},        {"six", U'6'},
    {"seven", U'7'},        {"eight", U'8'},       {"nine", U'9'},
    {"colon", U':'},        {"semicolon", U';'},   {"less", U'<'},
    {"equal", U'='},        {"greater", U'>'},     {"question", U'?'},
    {"at", U'@'},           {"bracketleft", U'['}, {"backslash", U'\\'},
    {"bracketright", U']'}, {"asciicircum", U'^'}, {"underscore", U'_'},
    {"grave", U'`'},        {"quoteleft", U'`'},   {"braceleft", U'{'},
    {"bar", U'|'},          {"braceright", U'}'},  {"asciitilde", U'~'},
};

// A glyph drawn by a name the list does not know.
constexpr char32_t UNKNOWN_GLYPH = U'?';
// The no-break space a font may name its only space glyph after, and the soft hyphen it may
// name its only hyphen after (as Wine's PostScript driver shows a minus sign in Liberation Sans).
constexpr char32_t NO_BREAK_SPACE = 0xA0;
constexpr char32_t SOFT_HYPHEN = 0xAD;
constexpr char32_t LAST_CODE_POINT = 0x10FFFF;

bool StartsWith(const char* at, size_t length, const char* prefix) {
  size_t n = std::strlen(prefix);
  return length >= n && std::memcmp(at, prefix, n) == 0;
}

bool EndsWith(const std::string& text, const char* suffix) {
  size_t n = std::strlen(suffix);
  return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool IsLineEnd(uint8_t byte) {
  return byte == '\n' || byte == '\r';
}

// Where the line after the one starting at `at` begins (its end-of-line bytes skipped).
size_t NextLine(const uint8_t* bytes, size_t length, size_t at) {
  const void* found = std::memchr(bytes + at, '\n', length - at);
  return found ? static_cast<size_t>(static_cast<const uint8_t*>(found) - bytes) + 1 : length;
}

bool HexValue(const std::string& digits, char32_t* value) {
  if (digits.empty() || digits.size() > 6) return false;
  char32_t result = 0;
  for (char c : digits) {
    // Glyph names write their code points in upper case only.
    int digit = (c >= 'a' && c <= 'f') ? -1 : printer_link::HexDigit(c);
    if (digit < 0) return false;
    result = result * 16 + static_cast<char32_t>(digit);
  }
  *value = result;
  return true;
}

// The character a glyph name stands for: a standard name, a letter, "uniXXXX" or "uXXXX";
// a suffix after "." names a variant of the same character.
char32_t GlyphCharacter(std::string name) {
  size_t variant = name.find('.');
  if (variant != std::string::npos && variant > 0) name.resize(variant);
  if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) return name[0];
  for (const GlyphName& known : GLYPH_NAMES) {
    if (name == known.name) return known.character;
  }
  char32_t value = 0;
  if ((name.size() == 7 && name.compare(0, 3, "uni") == 0 && HexValue(name.substr(3), &value)) ||
      (name.size() >= 5 && name[0] == 'u' && HexValue(name.substr(1), &value))) {
    if (value == NO_BREAK_SPACE) return U' ';
    if (value == SOFT_HYPHEN) return U'-';
    if (value >= 0x20 && value <= LAST_CODE_POINT && (value < 0xD800 || value > 0xDFFF)) {
      return value;
    }
  }
  return UNKNOWN_GLYPH;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// A string literal "(...)" starting at text[at]: its bytes with the escapes resolved. False
// when it is not closed on this line.
bool StringLiteral(const std::string& text, size_t at, std::string* value, size_t* end) {
  if (at >= text.size() || text[at] != '(') return false;
  int depth = 1;
  std::string out;
  for (size_t i = at + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\') {
      if (++i >= text.size()) return false;
      char e = text[i];
      if (e >= '0' && e <= '7') {
        int code = 0;
        size_t digits = 0;
        while (digits < OCTAL_DIGITS && i < text.size() && text[i] >= '0' && text[i] <= '7') {
          code = code * 8 + (text[i] - '0');
          ++i;
          ++digits;
        }
        --i;
        out.push_back(static_cast<char>(code & 0xFF));
        continue;
      }
      switch (e) {
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        default:
          out.push_back(e);
          break;  // \\ \( \) and unknown escapes: the character
      }
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) {
      *value = out;
      *end = i + 1;
      return true;
    }
    out.push_back(c);
  }
  return false;
}

// Single-byte text as the record shows it: the printable range as is, the rest as Latin-1.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  for (char c : bytes) AppendUtf8(static_cast<unsigned char>(c), &out);
  return out;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

class DocumentParser {
 public:
  void Line(const std::string& line) {
    if (skippingData_) {
      if (line.find(ASCII85_END) != std::string::npos) skippingData_ = false;
      return;
    }
    if (!line.empty() && line[0] == '%') {
      Comment(line);
      return;
    }
    if (EndsWith(line, GLYPH_SHOW) && line[0] == '/') {
      Append(line.substr(1, line.size() - 1 - std::strlen(GLYPH_SHOW)));
    } else if (EndsWith(line, STRING_SHOW) && line[0] == '(') {
      std::string value;
      size_t end = 0;
      if (StringLiteral(line, 0, &value, &end) && end + std::strlen(" show") == line.size()) {
        run_ += Latin1ToUtf8(value);
        inRun_ = true;
      }
    } else if (EndsWith(line, MOVE_TO)) {
      EndRun();
    } else if (line == SHOW_PAGE) {
      EndRun();
      ++document_.pages;
    } else if (line == "image" || line == "colorimage" || line == "imagemask") {
      ++document_.images;
      skippingData_ = ascii85_;
      ascii85_ = false;
    } else if (line.find(ASCII85_FILTER) != std::string::npos) {
      ascii85_ = true;
    }
  }

  PrintedDocument Finish(bool complete) {
    EndRun();
    document_.complete = complete;
    return document_;
  }

 private:
  void Comment(const std::string& line) {
    if (inHeader_ && !titled_ && StartsWith(line.data(), line.size(), TITLE_COMMENT)) {
      std::string title = line.substr(std::strlen(TITLE_COMMENT));
      size_t first = title.find_first_not_of(' ');
      title = first == std::string::npos ? std::string() : title.substr(first);
      // A title with characters outside the printable range comes as a string literal.
      std::string literal;
      size_t end = 0;
      if (!title.empty() && title[0] == '(' && StringLiteral(title, 0, &literal, &end) &&
          end == title.size()) {
        title = literal;
      }
      document_.title = Latin1ToUtf8(title);
      titled_ = true;
    } else if (line == END_COMMENTS) {
      inHeader_ = false;
    }
  }

  void Append(const std::string& glyphName) {
    AppendUtf8(GlyphCharacter(glyphName), &run_);
    inRun_ = true;
  }

  void EndRun() {
    if (inRun_) document_.texts.push_back(run_);
    run_.clear();
    inRun_ = false;
  }

  PrintedDocument document_;
  std::string run_;
  bool inRun_ = false;
  bool inHeader_ = true;
  bool titled_ = false;
  bool ascii85_ = false;
  bool skippingData_ = false;
};

}  // namespace

DocumentExtent MeasureDocument(const uint8_t* bytes, size_t length) {
  DocumentExtent extent;
  extent.length = length;
  if (!bytes) {
    extent.length = 0;
    return extent;
  }
  const char* text = reinterpret_cast<const char*>(bytes);
  for (size_t at = NextLine(bytes, length, 0); at < length; at = NextLine(bytes, length, at)) {
    if (StartsWith(text + at, length - at, DOCUMENT_INTRO)) {
      extent.length = at;
      return extent;
    }
    const size_t n = std::strlen(END_OF_FILE);
    if (StartsWith(text + at, length - at, END_OF_FILE) &&
        (at + n == length || IsLineEnd(bytes[at + n]))) {
      extent.length = NextLine(bytes, length, at);
      extent.complete = true;
      return extent;
    }
  }
  return extent;
}

PrintedDocument ReadDocument(const uint8_t* bytes, size_t length) {
  DocumentParser parser;
  if (!bytes) return parser.Finish(false);
  DocumentExtent extent = MeasureDocument(bytes, length);
  const char* text = reinterpret_cast<const char*>(bytes);
  for (size_t at = 0; at < extent.length;) {
    size_t next = NextLine(bytes, extent.length, at);
    size_t end = next;
    while (end > at && IsLineEnd(bytes[end - 1])) --end;
    parser.Line(std::string(text + at, end - at));
    at = next;
  }
  return parser.Finish(extent.complete);
}

std::string DocumentRecord(const PrintedDocument& document) {
  std::string record = RECORD_HEAD + Quoted(document.title) + " pages " +
                       std::to_string(document.pages) + " images " +
                       std::to_string(document.images) + " captions";
  for (const std::string& text : document.texts) record += " " + Quoted(text);
  if (!document.complete) record += " cut";
  return record;
}

}  // namespace sim
