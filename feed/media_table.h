// The media table of MediaP1.ini: driver media id, media code, paper feed class, kind, qualities.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "samples/adjustment_selection.h"
#include "shell/settings_reader.h"

namespace feed {

constexpr char MEDIA_TABLE_FILE[] = "MediaP1.ini";
constexpr int MEDIA_ROW_COLUMNS = 10;

using MediaRow = std::array<int32_t, MEDIA_ROW_COLUMNS>;

// Integers of the form n,n,...: blanks before each integer, none before a comma; reading stops
// at the first character that does not fit, after at most `limit` integers.
std::vector<int32_t> ReadIntegerList(const std::string& value, int limit);

class MediaTable {
 public:
  MediaTable(const shell::SettingsReader& settings, const std::string& fileName);

  // True only when every row from 1 to the row count was read and valid.
  bool IsLoaded() const { return loaded_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  int DriverMediaId(int mediaCode) const;
  int MediaKind(int mediaCode) const;
  int QualityCodes(int mediaCode, int32_t* destination, int count) const;
  // The first row of the media code, or the not-found record.
  MediaRecord Record(int mediaCode) const;
  int NextMatch(int driverMediaId, int paperFeed, int* position, int* kind) const;

 private:
  const MediaRow* Find(int mediaCode) const;

  std::vector<MediaRow> rows_;
  bool loaded_ = false;
};

}  // namespace feed
