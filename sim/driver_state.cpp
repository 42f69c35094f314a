// The simulated driver's state and its lines in the printer's state file.
#include "sim/driver_state.h"

#include <cstdlib>
#include <cstring>

#include "link/hex.h"
#include "sim/printer_state.h"

namespace sim {

namespace {

constexpr char SETTINGS_MAGIC[] = "KDSM";
constexpr size_t MAGIC_SIZE = 4;
constexpr size_t SETTINGS_SIZE = MAGIC_SIZE + 4 * 2 + 4 * 4 + 4 * 2 + 5 * 4 + 20;
constexpr char LIST_SEPARATOR = '|';
constexpr char HANDLE_KEY_PREFIX[] = "handle.";
constexpr char CALL_KEY[] = "call";

const DriverMedia SAMPLE_MEDIA[] = {
    {1, "Plain Paper"},        {2, "Coated Paper"},          {3, "Heavyweight Coated Paper"},
    {4, "Photo Glossy Paper"}, {5, "Photo Semigloss Paper"}, {6, "Photo Luster Paper"},
    {7, "Matte Paper"},        {8, "Fine Art Paper"},        {9, "Canvas"},
    {10, "Backlit Film"},      {11, "Synthetic Paper"},      {12, "Proofing Paper"},
};

const DriverPaper SAMPLE_PAPERS[] = {
    {9, 2100, 2970, "A4 210 x 297 mm"},      {8, 2970, 4200, "A3 297 x 420 mm"},
    {66, 4200, 5940, "A2 420 x 594 mm"},     {258, 5940, 8410, "A1 594 x 841 mm"},
    {257, 6100, 0, "Roll 610 mm (24 in)"},   {261, 9140, 0, "Roll 914 mm (36 in)"},
    {622, 11180, 0, "Roll 1118 mm (44 in)"}, {256, 0, 0, "User Defined Size"},
};

class Writer {
 public:
  void U16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  std::vector<uint8_t> bytes;
};

class Reader {
 public:
  explicit Reader(const uint8_t* bytes) : p_(bytes) {}
  uint16_t U16() {
    uint16_t v = static_cast<uint16_t>(p_[0] | (p_[1] << 8));
    p_ += 2;
    return v;
  }
  uint32_t U32() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
  }
  uint8_t U8() { return *p_++; }

 private:
  const uint8_t* p_;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool Number(const std::string& text, uint64_t max, uint64_t* value) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (*end != '\0' || v > max) return false;
  *value = v;
  return true;
}

template <typename T>
bool NumberInto(const std::string& text, uint64_t max, T* out) {
  uint64_t v = 0;
  if (!Number(text, max, &v)) return false;
  *out = static_cast<T>(v);
  return true;
}

template <typename T>
bool NumberSet(const std::string& text, uint64_t max, std::set<T>* out) {
  std::set<T> parsed;
  for (const std::string& part : Split(text, ',')) {
    T v{};
    if (!NumberInto(part, max, &v)) return false;
    parsed.insert(v);
  }
  *out = parsed;
  return true;
}

template <typename T>
std::string JoinNumbers(const std::set<T>& values) {
  std::string text;
  for (T v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
  return text;
}

bool SettingsFromHex(const std::string& hex, DriverSettings* settings) {
  std::vector<uint8_t> bytes;
  return printer_link::BytesFromHex(hex, &bytes) &&
         UnpackSettings(bytes.data(), bytes.size(), settings);
}

std::string SettingsHex(const DriverSettings& settings) {
  std::vector<uint8_t> bytes = PackSettings(settings);
  return ToHex(bytes.data(), bytes.size());
}

bool ParseMedia(const std::string& value, std::vector<DriverMedia>* media) {
  std::vector<DriverMedia> parsed;
  for (const std::string& entry : Split(value, LIST_SEPARATOR)) {
    size_t colon = entry.find(':');
    DriverMedia m;
    if (colon == std::string::npos || !NumberInto(entry.substr(0, colon), UINT16_MAX, &m.id)) {
      return false;
    }
    m.name = entry.substr(colon + 1);
    parsed.push_back(m);
  }
  *media = parsed;
  return true;
}

// CODE:WIDTHxLENGTH:NAME
bool ParsePapers(const std::string& value, std::vector<DriverPaper>* papers) {
  std::vector<DriverPaper> parsed;
  for (const std::string& entry : Split(value, LIST_SEPARATOR)) {
    size_t first = entry.find(':');
    size_t second = first == std::string::npos ? first : entry.find(':', first + 1);
    if (second == std::string::npos) return false;
    std::string size = entry.substr(first + 1, second - first - 1);
    size_t x = size.find('x');
    DriverPaper p;
    if (x == std::string::npos || !NumberInto(entry.substr(0, first), UINT16_MAX, &p.code) ||
        !NumberInto(size.substr(0, x), UINT16_MAX, &p.width) ||
        !NumberInto(size.substr(x + 1), UINT16_MAX, &p.length)) {
      return false;
    }
    p.name = entry.substr(second + 1);
    parsed.push_back(p);
  }
  *papers = parsed;
  return true;
}

}  // namespace

bool DriverSettings::operator==(const DriverSettings& o) const {
  return PackSettings(*this) == PackSettings(o);
}

DriverState::DriverState()
    : media(std::begin(SAMPLE_MEDIA), std::end(SAMPLE_MEDIA)),
      papers(std::begin(SAMPLE_PAPERS), std::end(SAMPLE_PAPERS)),
      uncuttable{11, 12} {
  // The driver's own header words of item 219, and a value of its own beside the correction.
  defaults.feedData[0] = 1;
  defaults.feedData[4] = 20;
  defaults.feedData[12] = 3;
}

const DriverMedia* DriverState::FindMedia(uint16_t id) const {
  for (const DriverMedia& m : media) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

const DriverPaper* DriverState::FindPaper(uint16_t code) const {
  for (const DriverPaper& p : papers) {
    if (p.code == code) return &p;
  }
  return nullptr;
}

std::vector<uint8_t> PackSettings(const DriverSettings& s) {
  Writer w;
  w.bytes.assign(SETTINGS_MAGIC, SETTINGS_MAGIC + MAGIC_SIZE);
  w.U16(s.paperWidth);
  w.U16(s.paperLength);
  w.U16(s.paperCode);
  w.U16(0);
  w.U32(s.samplePrint);
  w.U32(s.handling);
  w.U32(s.sheetFlags);
  w.U32(s.rollFlags);
  for (uint16_t word : s.mediaMode) w.U16(word);
  for (uint32_t word : s.printMode) w.U32(word);
  w.bytes.insert(w.bytes.end(), s.feedData.begin(), s.feedData.end());
  return w.bytes;
}

bool UnpackSettings(const uint8_t* bytes, size_t length, DriverSettings* settings) {
  if (length != SETTINGS_SIZE || std::memcmp(bytes, SETTINGS_MAGIC, MAGIC_SIZE) != 0) return false;
  Reader r(bytes + MAGIC_SIZE);
  DriverSettings s;
  s.paperWidth = r.U16();
  s.paperLength = r.U16();
  s.paperCode = r.U16();
  r.U16();
  s.samplePrint = r.U32();
  s.handling = r.U32();
  s.sheetFlags = r.U32();
  s.rollFlags = r.U32();
  for (uint16_t& word : s.mediaMode) word = r.U16();
  for (uint32_t& word : s.printMode) word = r.U32();
  for (uint8_t& byte : s.feedData) byte = r.U8();
  *settings = s;
  return true;
}

void FormatDriverState(const DriverState& d, std::ostream& out) {
  out << "# driver settings\n";
  std::string media;
  for (const DriverMedia& m : d.media) {
    media += (media.empty() ? "" : "|") + std::to_string(m.id) + ":" + m.name;
  }
  std::string papers;
  for (const DriverPaper& p : d.papers) {
    papers += (papers.empty() ? "" : "|") + std::to_string(p.code) + ":" + std::to_string(p.width) +
              "x" + std::to_string(p.length) + ":" + p.name;
  }
  out << DRIVER_KEY_PREFIX << "media=" << media << "\n";
  out << DRIVER_KEY_PREFIX << "papers=" << papers << "\n";
  out << DRIVER_KEY_PREFIX << "user_width=" << d.userWidth << "\n";
  out << DRIVER_KEY_PREFIX << "media_element_size=" << d.mediaElementSize << "\n";
  out << DRIVER_KEY_PREFIX << "sheet_range_flags=" << d.sheetRangeFlags << "\n";
  out << DRIVER_KEY_PREFIX << "uncuttable=" << JoinNumbers(d.uncuttable) << "\n";
  out << DRIVER_KEY_PREFIX << "open_fails=" << (d.openFails ? 1 : 0) << "\n";
  out << DRIVER_KEY_PREFIX << "refuse=" << JoinNumbers(d.refusedItems) << "\n";
  out << DRIVER_KEY_PREFIX << "defaults=" << SettingsHex(d.defaults) << "\n";
  out << DRIVER_KEY_PREFIX << "next_handle=" << d.nextHandle << "\n";
  for (const auto& [handle, settings] : d.handles) {
    out << DRIVER_KEY_PREFIX << HANDLE_KEY_PREFIX << handle << "=" << SettingsHex(settings) << "\n";
  }
  for (const std::string& call : d.calls)
    out << DRIVER_KEY_PREFIX << CALL_KEY << "=" << call << "\n";
}

bool ApplyDriverKey(const std::string& key, const std::string& value, DriverState* d) {
  if (key == "media") return ParseMedia(value, &d->media);
  if (key == "papers") return ParsePapers(value, &d->papers);
  if (key == "user_width") return NumberInto(value, UINT16_MAX, &d->userWidth);
  if (key == "media_element_size") return NumberInto(value, UINT16_MAX, &d->mediaElementSize);
  if (key == "sheet_range_flags") return NumberInto(value, UINT32_MAX, &d->sheetRangeFlags);
  if (key == "uncuttable") return NumberSet(value, UINT16_MAX, &d->uncuttable);
  if (key == "open_fails") {
    if (value != "0" && value != "1") return false;
    d->openFails = value == "1";
    return true;
  }
  if (key == "refuse") return NumberSet(value, INT32_MAX, &d->refusedItems);
  if (key == "defaults") return SettingsFromHex(value, &d->defaults);
  if (key == "next_handle") return NumberInto(value, INT32_MAX, &d->nextHandle);
  if (key == CALL_KEY) {
    d->calls.push_back(value);
    return true;
  }
  if (key.compare(0, std::strlen(HANDLE_KEY_PREFIX), HANDLE_KEY_PREFIX) == 0) {
    int handle = 0;
    DriverSettings settings;
    if (!NumberInto(key.substr(std::strlen(HANDLE_KEY_PREFIX)), INT32_MAX, &handle) ||
        !SettingsFromHex(value, &settings)) {
      return false;
    }
    d->handles[handle] = settings;
    return true;
  }
  return false;
}

}  // namespace sim
