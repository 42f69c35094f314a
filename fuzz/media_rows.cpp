// The media table over any MediaP1.ini rows: loading against a model of the integer-list rules
// (strtol, the slow way), and NextMatch listings and lookups against a plain scan of the rows.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "feed/media_table.h"
#include "fuzz/fuzz_input.h"
#include "shell/settings_reader.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr char FOLDER[] = "S";
constexpr char FILE_NAME[] = "MediaP1.ini";
constexpr int ROW_LIMIT = 6;

// Integers separated by commas, each after any white space; at most `limit`.
std::vector<int32_t> ModelList(const std::string& value, int limit) {
  std::vector<int32_t> numbers;
  const char* p = value.c_str();
  while (static_cast<int>(numbers.size()) < limit) {
    if (!numbers.empty()) {
      if (*p != ',') break;
      ++p;
    }
    const char* q = p;
    while (*q == ' ' || (*q >= '\t' && *q <= '\r')) ++q;
    if (*q == '+' || *q == '-') ++q;
    if (*q < '0' || *q > '9') break;
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(p, &end, 10);
    if (n > INT32_MAX) n = INT32_MAX;
    if (n < INT32_MIN) n = INT32_MIN;
    numbers.push_back(static_cast<int32_t>(n));
    p = end;
  }
  return numbers;
}

}  // namespace

// Input: row count byte (low three bits; 7 leaves the count line out), driver media id and
// paper feed to list, then the file's row values separated by newlines (":KEY" for an alias).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  int count = in.Byte() & 0x07;
  int driverMediaId = static_cast<int8_t>(in.Byte());
  int paperFeed = static_cast<int8_t>(in.Byte()) % 4;
  std::string rest = in.RestText();

  std::vector<std::string> values;
  for (size_t start = 0; start <= rest.size() && values.size() < ROW_LIMIT;) {
    size_t end = rest.find('\n', start);
    if (end == std::string::npos) end = rest.size();
    values.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  std::string content = count == 7 ? "" : "MEDIAP1_NUM=" + std::to_string(count) + "\n";
  for (size_t i = 0; i < values.size(); ++i) {
    // A value that starts with ':' makes the line an alias.
    char key[32];
    std::snprintf(key, sizeof key, "MEDIAP1_%03zu", i + 1);
    content += std::string(key) + (values[i].compare(0, 1, ":") == 0 ? "" : "=") + values[i] + "\n";
  }

  fakes::FakeFiles files;
  files.Put(shell::JoinPath(FOLDER, FILE_NAME), content);
  shell::SettingsReader settings(files, FOLDER, shell::SETTINGS_LINE_CHUNK_TREVALO);
  feed::MediaTable table(settings, FILE_NAME);

  // The model reads each row's value the way the reader hands it over.
  std::vector<std::vector<int32_t>> rows;
  bool loads = count > 0 && count != 7;
  for (int n = 1; loads && n <= count; ++n) {
    char key[16];
    std::snprintf(key, sizeof key, "MEDIAP1_%03d", n);
    std::vector<int32_t> row =
        ModelList(shell::LookupSetting(content, key, shell::SETTINGS_LINE_CHUNK_TREVALO), 11);
    loads = row.size() == feed::MEDIA_ROW_COLUMNS;
    rows.push_back(row);
  }
  FUZZ_CHECK(table.IsLoaded() == loads);
  if (!loads) rows.clear();
  FUZZ_CHECK(table.RowCount() == static_cast<int>(rows.size()));

  // Listing as the adjustment page does, against a plain scan.
  std::vector<int> listed, expected;
  for (int position = 0; position < table.RowCount(); ++position) {
    int kind = -1;
    int before = position;
    int code = table.NextMatch(driverMediaId, paperFeed, &position, &kind);
    if (code == feed::MEDIA_NOT_FOUND) {
      // A true miss changes nothing; a row whose code is the miss value looks like one.
      FUZZ_CHECK((position == before && kind == -1) || rows[position][1] == feed::MEDIA_NOT_FOUND);
      break;
    }
    FUZZ_CHECK(position >= before && position < table.RowCount());
    FUZZ_CHECK(code == rows[position][1] && kind == rows[position][3]);
    listed.push_back(position);
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    int feedClass = rows[i][2];
    bool matches = (paperFeed == 0 && feedClass == 0) ||
                   (paperFeed == 1 && (feedClass == 1 || feedClass == 3)) ||
                   (paperFeed == 2 && (feedClass == 2 || feedClass == 3));
    // A row whose media code is the not-found value would end the listing early.
    if (rows[i][0] == driverMediaId && matches) {
      if (rows[i][1] == feed::MEDIA_NOT_FOUND) break;
      expected.push_back(static_cast<int>(i));
    }
  }
  FUZZ_CHECK(listed == expected);

  // Lookups by media code take the first row and never write past the count asked for.
  for (const std::vector<int32_t>& row : rows) {
    const std::vector<int32_t>* first = nullptr;
    for (const std::vector<int32_t>& r : rows) {
      if (r[1] == row[1]) {
        first = &r;
        break;
      }
    }
    FUZZ_CHECK(table.DriverMediaId(row[1]) == (*first)[0]);
    FUZZ_CHECK(table.MediaKind(row[1]) == (*first)[3]);
    int32_t codes[8] = {-7, -7, -7, -7, -7, -7, -7, -7};
    int asked = static_cast<int>(static_cast<uint32_t>(row[4]) % 9);
    FUZZ_CHECK(table.QualityCodes(row[1], codes, asked) == row[1]);
    for (int i = 0; i < 8; ++i) {
      FUZZ_CHECK(codes[i] == (i < asked && i < 6 ? (*first)[4 + i] : -7));
    }
  }
  return 0;
}
