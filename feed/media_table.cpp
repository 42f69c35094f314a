// Loading and lookups of the media table.
#include "feed/media_table.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace feed {

namespace {

constexpr char COUNT_KEY[] = "MEDIAP1_NUM";
// One more than a row holds, so that an eleventh integer is noticed.
constexpr int ROW_READ_LIMIT = MEDIA_ROW_COLUMNS + 1;

enum Column { DRIVER_MEDIA_ID = 0, MEDIA_CODE = 1, FEED_CLASS = 2, KIND = 3, FIRST_QUALITY = 4 };

bool FeedMatches(int paperFeed, int feedClass) {
  switch (paperFeed) {
    case 0:
      return feedClass == 0;
    case 1:
      return feedClass == 1 || feedClass == 3;
    case 2:
      return feedClass == 2 || feedClass == 3;
    default:
      return false;
  }
}

// White space as the C library skips it before a number.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::vector<int32_t> ReadIntegerList(const std::string& value, int limit) {
  std::vector<int32_t> numbers;
  size_t i = 0;
  while (static_cast<int>(numbers.size()) < limit) {
    if (!numbers.empty()) {
      if (i >= value.size() || value[i] != ',') break;
      ++i;
    }
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    size_t start = i;
    long long v = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
      if (v <= INT32_MAX) v = v * 10 + (value[i] - '0');
    }
    if (i == start) break;
    if (negative) v = -v;
    numbers.push_back(
        static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v)));
  }
  return numbers;
}

MediaTable::MediaTable(const shell::SettingsReader& settings, const std::string& fileName) {
  int count = shell::ParseLeadingInt(settings.ReadSetting(fileName, COUNT_KEY));
  if (count <= 0) return;
  std::vector<MediaRow> rows;
  for (int n = 1; n <= count; ++n) {
    char key[32];
    std::snprintf(key, sizeof key, "MEDIAP1_%03d", n);
    std::vector<int32_t> numbers =
        ReadIntegerList(settings.ReadSetting(fileName, key), ROW_READ_LIMIT);
    if (numbers.size() != MEDIA_ROW_COLUMNS) return;
    MediaRow row;
    std::copy(numbers.begin(), numbers.end(), row.begin());
    rows.push_back(row);
  }
  rows_ = std::move(rows);
  loaded_ = true;
}

const MediaRow* MediaTable::Find(int mediaCode) const {
  for (const MediaRow& row : rows_) {
    if (row[MEDIA_CODE] == mediaCode) return &row;
  }
  return nullptr;
}

int MediaTable::DriverMediaId(int mediaCode) const {
  const MediaRow* row = Find(mediaCode);
  return row ? (*row)[DRIVER_MEDIA_ID] : MEDIA_NOT_FOUND;
}

int MediaTable::MediaKind(int mediaCode) const {
  const MediaRow* row = Find(mediaCode);
  return row ? (*row)[KIND] : MEDIA_NOT_FOUND;
}

int MediaTable::QualityCodes(int mediaCode, int32_t* destination, int count) const {
  const MediaRow* row = Find(mediaCode);
  if (!row) return MEDIA_NOT_FOUND;
  for (int i = 0; i < count && i < MEDIA_QUALITY_COUNT; ++i)
    destination[i] = (*row)[FIRST_QUALITY + i];
  return mediaCode;
}

MediaRecord MediaTable::Record(int mediaCode) const {
  MediaRecord record;
  const MediaRow* row = Find(mediaCode);
  if (!row) return record;
  record.driverMediaId = (*row)[DRIVER_MEDIA_ID];
  record.kind = (*row)[KIND];
  std::copy_n(row->begin() + FIRST_QUALITY, MEDIA_QUALITY_COUNT, record.qualityCodes.begin());
  return record;
}

int MediaTable::NextMatch(int driverMediaId, int paperFeed, int* position, int* kind) const {
  for (int i = *position < 0 ? 0 : *position; i < RowCount(); ++i) {
    const MediaRow& row = rows_[i];
    if (row[DRIVER_MEDIA_ID] == driverMediaId && FeedMatches(paperFeed, row[FEED_CLASS])) {
      *position = i;
      *kind = row[KIND];
      return row[MEDIA_CODE];
    }
  }
  return MEDIA_NOT_FOUND;
}

}  // namespace feed
