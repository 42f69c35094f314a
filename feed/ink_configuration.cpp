// Four or eight inks from the status block's ink table.
#include "feed/ink_configuration.h"

#include <cstring>

#include "samples/adjustment_selection.h"

namespace feed {

namespace {

constexpr size_t ENTRY_SIZE_BYTES = 1;  // the table's first data byte
constexpr size_t FOUR_ENTRIES = 4;
constexpr size_t EIGHT_ENTRIES = 8;
constexpr size_t COMPARED_BYTES = 2;  // colour bytes of an entry

// Start of entry k (1-based) inside the field's data.
size_t EntryAt(size_t entrySize, size_t k) {
  return ENTRY_SIZE_BYTES + (k - 1) * entrySize;
}

}  // namespace

int InkConfiguration(const printer_link::StatusReply& status) {
  const uint8_t* data = nullptr;
  size_t length = 0;
  if (!status.FindField(printer_link::FIELD_INK, &data, &length)) return INK_CONFIGURATION_EIGHT;
  if (length < ENTRY_SIZE_BYTES) return INK_CONFIGURATION_FOUR;
  size_t entrySize = data[0];
  if (length <= ENTRY_SIZE_BYTES + FOUR_ENTRIES * entrySize) return INK_CONFIGURATION_FOUR;
  // Entries that the field does not hold whole are never read.
  if (entrySize < COMPARED_BYTES || length < ENTRY_SIZE_BYTES + EIGHT_ENTRIES * entrySize) {
    return INK_CONFIGURATION_EIGHT;
  }
  auto same = [&](size_t a, size_t b) {
    return std::memcmp(data + EntryAt(entrySize, a), data + EntryAt(entrySize, b),
                       COMPARED_BYTES) == 0;
  };
  return same(5, 6) && same(7, 8) ? INK_CONFIGURATION_FOUR : INK_CONFIGURATION_EIGHT;
}

int InkClassOf(int configuration) {
  return configuration == INK_CONFIGURATION_FOUR ? INK_CLASS_FOUR : INK_CLASS_EIGHT;
}

int ReadInkClass(printer_link::PrinterChannel& channel, const std::string& queueName) {
  int handle = channel.Open(queueName);
  if (handle < 1) return InkClassOf(INK_CONFIGURATION_EIGHT);
  printer_link::StatusReply status;
  int read = channel.ReadStatus(handle, status);
  channel.Close(handle);
  if (read <= 0) return InkClassOf(INK_CONFIGURATION_EIGHT);
  return InkClassOf(InkConfiguration(status));
}

}  // namespace feed
