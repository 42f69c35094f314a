// In-memory fakes of files, clock, registry and system.
#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace fakes {

bool FakeFiles::Exists(const std::string& path) {
  return files.count(path) > 0 || folders.count(path) > 0;
}

bool FakeFiles::Size(const std::string& path, uint64_t* size) {
  auto found = files.find(path);
  if (found == files.end()) return false;
  *size = found->second.size();
  return true;
}

bool FakeFiles::ReadAll(const std::string& path, std::string* content) {
  ++readAllCalls;
  auto found = files.find(path);
  if (found == files.end() || unreadable.count(path)) return false;
  *content = found->second;
  return true;
}

int64_t FakeFiles::ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) {
  auto found = files.find(path);
  if (found == files.end() || unreadable.count(path)) return -1;
  uint64_t n = std::min<uint64_t>(size, found->second.size());
  std::memcpy(buffer, found->second.data(), static_cast<size_t>(n));
  return static_cast<int64_t>(n);
}

std::string FakeFiles::ProfileString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& fallback) {
  auto found = files.find(file);
  if (found == files.end()) return fallback;
  const std::string& text = found->second;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (!line.empty() && line[0] == '[') {
      inSection = line == "[" + section + "]";
    } else if (inSection && line.compare(0, key.size() + 1, key + "=") == 0) {
      return line.substr(key.size() + 1);
    }
  }
  return fallback;
}

uint32_t FakeClock::TickCount() {
  uint32_t t = now;
  if (step > 0) Advance(step);
  return t;
}

void FakeClock::Sleep(uint32_t ms) {
  slept += ms;
  Advance(ms);
}

void FakeClock::Advance(uint32_t ms) {
  now += ms;
  if (onAdvance) onAdvance(now);
}

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string HivePrefix(platform::RegHandle hive) {
  return hive == platform::HIVE_LOCAL_MACHINE ? "hklm" : "hkcu";
}

}  // namespace

std::string FakeRegistry::Resolve(platform::RegHandle parent, const std::string& path,
                                  bool* ok) const {
  *ok = true;
  std::string base;
  if (parent == platform::HIVE_LOCAL_MACHINE || parent == platform::HIVE_CURRENT_USER) {
    base = HivePrefix(parent);
  } else {
    auto found = handles_.find(parent);
    if (found == handles_.end()) {
      *ok = false;
      return std::string();
    }
    base = found->second.path;
  }
  return path.empty() ? base : base + "\\" + Lower(path);
}

FakeRegistry::Key& FakeRegistry::Ensure(const std::string& path) {
  auto found = keys_.find(path);
  if (found != keys_.end()) return found->second;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos) {
    Key& parent = Ensure(path.substr(0, slash));
    parent.subkeys.push_back(path);
  }
  Key& key = keys_[path];
  key.name = slash == std::string::npos ? path : path.substr(slash + 1);
  return key;
}

void FakeRegistry::AddKey(platform::RegHandle hive, const std::string& path) {
  Ensure(HivePrefix(hive) + "\\" + Lower(path));
  // Keep the spelling of the last component for enumeration.
  std::string full = HivePrefix(hive) + "\\" + Lower(path);
  size_t slash = path.rfind('\\');
  keys_[full].name = slash == std::string::npos ? path : path.substr(slash + 1);
}

void FakeRegistry::PutRaw(platform::RegHandle hive, const std::string& path,
                          const std::string& name, uint32_t type, std::vector<uint8_t> data) {
  AddKey(hive, path);
  keys_[HivePrefix(hive) + "\\" + Lower(path)].values[Lower(name)] = Value{type, std::move(data)};
}

void FakeRegistry::PutString(platform::RegHandle hive, const std::string& path,
                             const std::string& name, const std::string& text) {
  std::vector<uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  PutRaw(hive, path, name, platform::REG_TYPE_STRING, std::move(data));
}

bool FakeRegistry::HasKey(platform::RegHandle hive, const std::string& path) const {
  return keys_.count(HivePrefix(hive) + "\\" + Lower(path)) > 0;
}

const FakeRegistry::Value* FakeRegistry::Find(platform::RegHandle hive, const std::string& path,
                                              const std::string& name) const {
  auto key = keys_.find(HivePrefix(hive) + "\\" + Lower(path));
  if (key == keys_.end()) return nullptr;
  auto value = key->second.values.find(Lower(name));
  return value == key->second.values.end() ? nullptr : &value->second;
}

long FakeRegistry::OpenKey(platform::RegHandle parent, const std::string& path,
                           platform::RegAccess access, platform::RegHandle* key) {
  *key = 0;
  bool ok;
  std::string full = Resolve(parent, path, &ok);
  if (!ok) return platform::REG_INVALID_HANDLE;
  if (!keys_.count(full)) return platform::REG_NOT_FOUND;
  *key = next_++;
  handles_[*key] = Handle{full, access};
  return platform::REG_OK;
}

long FakeRegistry::CreateKey(platform::RegHandle parent, const std::string& path,
                             platform::RegAccess access, platform::RegHandle* key) {
  *key = 0;
  bool ok;
  std::string full = Resolve(parent, path, &ok);
  if (!ok) return platform::REG_INVALID_HANDLE;
  if (!keys_.count(full)) {
    // Creating below a key needs more than read access on it; the hive roots allow it.
    auto found = handles_.find(parent);
    if (found != handles_.end() && found->second.access != platform::RegAccess::Full) {
      return platform::REG_ACCESS_DENIED;
    }
    Ensure(full);
  }
  *key = next_++;
  handles_[*key] = Handle{full, access};
  return platform::REG_OK;
}

long FakeRegistry::QueryValue(platform::RegHandle key, const std::string& name, uint8_t* buffer,
                              uint32_t* size, uint32_t* type) {
  auto handle = handles_.find(key);
  if (handle == handles_.end()) return platform::REG_INVALID_HANDLE;
  const Key& k = keys_[handle->second.path];
  auto value = k.values.find(Lower(name));
  if (value == k.values.end()) return platform::REG_NOT_FOUND;
  *type = value->second.type;
  uint32_t needed = static_cast<uint32_t>(value->second.data.size());
  if (needed > *size) {
    *size = needed;
    return platform::REG_MORE_DATA;
  }
  std::copy(value->second.data.begin(), value->second.data.end(), buffer);
  *size = needed;
  return platform::REG_OK;
}

long FakeRegistry::SetValue(platform::RegHandle key, const std::string& name, uint32_t type,
                            const uint8_t* data, uint32_t size) {
  auto handle = handles_.find(key);
  if (handle == handles_.end()) return platform::REG_INVALID_HANDLE;
  if (handle->second.access != platform::RegAccess::Full) return platform::REG_ACCESS_DENIED;
  keys_[handle->second.path].values[Lower(name)] =
      Value{type, std::vector<uint8_t>(data, data + size)};
  return platform::REG_OK;
}

long FakeRegistry::EnumKey(platform::RegHandle key, uint32_t index, char* name, uint32_t size) {
  auto handle = handles_.find(key);
  if (handle == handles_.end()) return platform::REG_INVALID_HANDLE;
  const Key& k = keys_[handle->second.path];
  if (index >= k.subkeys.size()) return platform::REG_NO_MORE_ITEMS;
  const std::string& subName = keys_[k.subkeys[index]].name;
  if (subName.size() + 1 > size) return platform::REG_MORE_DATA;
  std::memcpy(name, subName.c_str(), subName.size() + 1);
  return platform::REG_OK;
}

long FakeRegistry::CloseKey(platform::RegHandle key) {
  return handles_.erase(key) ? platform::REG_OK : platform::REG_INVALID_HANDLE;
}

namespace {

class FakeLock : public platform::InstanceLock {
 public:
  FakeLock(std::set<std::string>& locks, std::string name) : locks_(locks), name_(std::move(name)) {
    locks_.insert(name_);
  }
  ~FakeLock() override { locks_.erase(name_); }

 private:
  std::set<std::string>& locks_;
  std::string name_;
};

}  // namespace

std::unique_ptr<platform::InstanceLock> FakeSystem::CreateInstanceLock(const std::string& name) {
  if (failLock) return nullptr;
  return std::make_unique<FakeLock>(locks, name);
}

bool FakeCodePage::IsLeadByte(uint8_t byte) const {
  struct Range {
    unsigned number;
    uint8_t first;
    uint8_t last;
  };
  static const Range LEAD_RANGES[] = {
      {932, 0x81, 0x9F}, {932, 0xE0, 0xFC},  {936, 0x81, 0xFE},  {949, 0x81, 0xFE},
      {950, 0x81, 0xFE}, {1361, 0x84, 0xD3}, {1361, 0xD8, 0xDE}, {1361, 0xE0, 0xF9},
  };
  for (const Range& range : LEAD_RANGES) {
    if (range.number == number && byte >= range.first && byte <= range.last) return true;
  }
  return false;
}

}  // namespace fakes
