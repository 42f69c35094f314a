// The adjustment page's choice of media, paper feed and print quality, handed to the dialogs,
// the sample print and the paper setting data.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace feed {

constexpr int MEDIA_NOT_FOUND = -1000;
constexpr int MEDIA_QUALITY_COUNT = 6;

// What the dialogs and the sample print need of one media's row of the media table. A media code
// the table lacks keeps the defaults, MEDIA_NOT_FOUND for the driver media id and the kind.
struct MediaRecord {
  int driverMediaId = MEDIA_NOT_FOUND;
  int kind = MEDIA_NOT_FOUND;
  std::array<int32_t, MEDIA_QUALITY_COUNT> qualityCodes{};  // the print-quality slots 0 to 5
};

// Adjustment kinds: which Detail dialog is open.
constexpr int ADJUST_PAPER_FEED = 0;
constexpr int ADJUST_PELLAN = 1;

// Value kinds: pellan reaches two values per selection, paper feed one.
constexpr int VALUE_PRINT_MODE = 0;
constexpr int VALUE_DOT_SHIFT = 1;

// Paper feed values the page offers (1 is handled by every user, never chosen on the page).
constexpr int PAPER_FEED_ROLL = 0;
constexpr int PAPER_FEED_SHEET = 2;

// Ink classes from the printer's ink configuration.
constexpr int INK_CLASS_FOUR = 1;
constexpr int INK_CLASS_EIGHT = 2;

struct AdjustmentSelection {
  std::string mediaName;      // the media entry as shown
  std::string paperFeedName;  // as shown
  std::string qualityName;    // as shown
  int mediaCode = 0;          // the media entry's item data
  MediaRecord mediaRecord;    // the media table's row of mediaCode, as the page found it
  int paperFeed = 0;          // 0 to 2
  int inkClass = INK_CLASS_EIGHT;
  int qualityPosition = 0;                 // 0 to 5: which of the media's print-quality slots
  int adjustmentKind = ADJUST_PAPER_FEED;  // set by the dialog that opens
  int qualityCode = 0;                     // 0 to 8
};

}  // namespace feed
