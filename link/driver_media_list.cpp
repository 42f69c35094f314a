// Loading the driver's media types through the driver-settings library.
#include "link/driver_media_list.h"

#include <algorithm>

namespace printer_link {

namespace {

constexpr size_t ID_BYTES = sizeof(uint16_t);

uint16_t ReadId(const std::vector<uint8_t>& buffer, size_t index) {
  size_t at = index * ID_BYTES;
  return static_cast<uint16_t>(buffer[at] | (buffer[at + 1] << 8));
}

}  // namespace

uint16_t DriverMediaList::IdAt(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return ids_[static_cast<size_t>(index)];
}

std::string DriverMediaList::NameAt(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return names_[static_cast<size_t>(index)];
}

void DriverMediaList::Discard() {
  ids_.clear();
  names_.clear();
}

bool DriverMediaList::Load(DriverSettingsApi& api, KddmHandle handle) {
  IdRangeBlock range;
  if (api.KDDM_GetRange(handle, ITEM_MEDIA_TYPES, &range) != KDDM_OK) return false;
  size_t count = range.count;
  size_t bytes = count * range.elementSize;
  if (bytes == 0) return true;
  // The ids are read as 16-bit values whatever element size the driver names, so the buffer
  // holds at least that much.
  std::vector<uint8_t> buffer(std::max(bytes, count * ID_BYTES), 0);
  range.ids = buffer.data();
  api.KDDM_GetRange(handle, ITEM_MEDIA_TYPES, &range);

  // One name buffer for all ids: a failed request leaves the name before it.
  char name[NAME_BUFFER_SIZE] = {};
  for (size_t i = 0; i < count; ++i) {
    NameRequestBlock request;
    request.kind = NAME_KIND_MEDIA_TYPE;
    request.id = static_cast<uint32_t>(i);
    request.name = name;
    api.KDDM_GetData(handle, ITEM_NAME, &request);
    name[NAME_BUFFER_SIZE - 1] = '\0';
    ids_.push_back(ReadId(buffer, i));
    names_.push_back(name);
  }
  return true;
}

DriverMediaHolder::DriverMediaHolder(DriverMediaList& list, DriverSettingsApi* api,
                                     const std::string& queueName, int openNumber)
    : list_(list) {
  ++list_.holders_;
  if (api == nullptr || queueName == list_.queueName_) return;
  list_.queueName_ = queueName;
  list_.Discard();
  KddmHandle handle = nullptr;
  if (api->KDDM_Open(queueName.c_str(), openNumber, KDDM_OPEN_PLAIN, nullptr, &handle) != KDDM_OK) {
    // Forgotten, so that the next holder asks the driver again.
    list_.queueName_.clear();
    return;
  }
  if (!list_.Load(*api, handle)) list_.queueName_.clear();
  api->KDDM_Close(handle);
}

DriverMediaHolder::DriverMediaHolder(DriverMediaList& list, DriverSettingsApi& api,
                                     const std::string& queueName, KddmHandle handle)
    : list_(list) {
  ++list_.holders_;
  list_.queueName_ = queueName;
  list_.Discard();
  if (!list_.Load(api, handle)) list_.queueName_.clear();
}

DriverMediaHolder::~DriverMediaHolder() {
  if (--list_.holders_ > 0) return;
  list_.Discard();
  // An emptied list must not pass for this queue's media at the next load.
  list_.queueName_.clear();
}

}  // namespace printer_link
