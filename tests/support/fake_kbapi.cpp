// The scripted library stand-in.
#include "tests/support/fake_kbapi.h"

#include <algorithm>
#include <cstring>

#include "link/bidi_api.h"

namespace fakes {

namespace {

// Plain function exports cannot carry state: they reach the script of the live fake library.
KbScript* current = nullptr;

KbScript& S() {
  return *current;
}

int Initialize() {
  S().calls.push_back("KBInitialize");
  return S().initializeResult;
}

int Release() {
  S().calls.push_back("KBRelease");
  return S().releaseResult;
}

int GetDeviceID(int, const char* queue, char* buffer, uint32_t* size) {
  KbScript& s = S();
  s.calls.push_back("KBGetDeviceID");
  s.queues.push_back(queue);
  size_t n = std::min<size_t>(s.deviceId.size() + 1, *size);
  std::memcpy(buffer, s.deviceId.c_str(), n);
  return s.deviceIdResult;
}

int GetAvailableChannel(int, const char* queue, uint8_t* buffer, uint32_t* size) {
  KbScript& s = S();
  s.calls.push_back("KBGetAvailableChannel");
  s.queues.push_back(queue);
  uint32_t needed = static_cast<uint32_t>(s.channels.size() * 8);
  if (!buffer) {
    *size = s.sizeQueryAnswer.value_or(needed);
    return s.sizeQueryResult;
  }
  size_t fit = std::min<size_t>(s.channels.size(), *size / 8);
  for (size_t i = 0; i < fit; ++i) {
    uint8_t* entry = buffer + i * 8;
    uint32_t type = s.channels[i].type;
    for (int b = 0; b < 4; ++b) entry[b] = static_cast<uint8_t>(type >> (8 * b));
    entry[4] = s.channels[i].flags;
    entry[5] = entry[6] = entry[7] = 0;
  }
  return s.listResult.value_or(static_cast<int>(s.channels.size()));
}

int OpenChannel(int, const char* queue, uint32_t type) {
  KbScript& s = S();
  s.calls.push_back("KBOpenChannel");
  s.queues.push_back(queue);
  s.openedTypes.push_back(type);
  return s.openResult;
}

int CloseChannel(int handle) {
  S().calls.push_back("KBCloseChannel");
  S().closedHandles.push_back(handle);
  return 0;
}

int SetOption(int, int, void*, uint32_t) {
  S().calls.push_back("KBSetOption");
  return 0;
}

int GetOption(int, int, void*, uint32_t*) {
  S().calls.push_back("KBGetOption");
  return 0;
}

int ReceiveCancel(int) {
  S().calls.push_back("KBReceiveCancel");
  return 0;
}

int GetStatus(int, uint8_t* buffer, uint32_t* size) {
  KbScript& s = S();
  s.calls.push_back("KBGetStatus");
  if (s.statusReplies.empty()) return s.statusResult.value_or(0);
  const std::vector<uint8_t>& reply =
      s.statusReplies[std::min(s.statusIndex, s.statusReplies.size() - 1)];
  ++s.statusIndex;
  size_t n = std::min<size_t>(reply.size(), *size);
  if (n > 0) std::memcpy(buffer, reply.data(), n);
  *size = static_cast<uint32_t>(n);
  return s.statusResult.value_or(static_cast<int>(n));
}

int Send(int, const uint8_t* data, uint32_t length) {
  KbScript& s = S();
  s.calls.push_back("KBSend");
  s.sent.emplace_back(data, data + length);
  return s.sendResult.value_or(static_cast<int>(length));
}

int Receive(int, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs) {
  KbScript& s = S();
  s.calls.push_back("KBReceive");
  s.receiveSizes.push_back(*size);
  s.receiveLimits.push_back(timeLimitMs);
  if (s.receives.empty()) return 0;
  ScriptedReceive r = s.receives.front();
  s.receives.pop_front();
  size_t n = std::min<size_t>(r.bytes.size(), *size);
  if (n > 0) std::memcpy(buffer, r.bytes.data(), n);
  *size = r.sizeAfter.value_or(static_cast<uint32_t>(n));
  return r.result;
}

struct ExportEntry {
  const char* name;
  void* address;
};

void* Address(const char* name) {
  const ExportEntry table[] = {
      {"KBInitialize", reinterpret_cast<void*>(&Initialize)},
      {"KBRelease", reinterpret_cast<void*>(&Release)},
      {"KBGetDeviceID", reinterpret_cast<void*>(&GetDeviceID)},
      {"KBGetAvailableChannel", reinterpret_cast<void*>(&GetAvailableChannel)},
      {"KBOpenChannel", reinterpret_cast<void*>(&OpenChannel)},
      {"KBCloseChannel", reinterpret_cast<void*>(&CloseChannel)},
      {"KBSetOption", reinterpret_cast<void*>(&SetOption)},
      {"KBGetOption", reinterpret_cast<void*>(&GetOption)},
      {"KBReceiveCancel", reinterpret_cast<void*>(&ReceiveCancel)},
      {"KBGetStatus", reinterpret_cast<void*>(&GetStatus)},
      {"KBSend", reinterpret_cast<void*>(&Send)},
      {"KBReceive", reinterpret_cast<void*>(&Receive)},
  };
  for (const ExportEntry& e : table) {
    if (std::strcmp(e.name, name) == 0) return e.address;
  }
  return nullptr;
}

class FakeLoaded : public platform::LoadedLibrary {
 public:
  explicit FakeLoaded(KbScript& script) : script_(script) {}
  void* Export(const char* name) override {
    if (script_.missingExports.count(name)) return nullptr;
    return Address(name);
  }

 private:
  KbScript& script_;
};

}  // namespace

int KbScript::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

FakeKbLibrary::FakeKbLibrary() {
  current = &script;
}

FakeKbLibrary::~FakeKbLibrary() {
  if (current == &script) current = nullptr;
}

std::unique_ptr<platform::LoadedLibrary> FakeKbLibrary::Load(const std::string& nameOrPath) {
  if (nameOrPath.empty() || script.loadFails) return nullptr;
  script.loadedNames.push_back(nameOrPath);
  return std::make_unique<FakeLoaded>(script);
}

std::vector<uint8_t> StatusReplyBytes(const std::vector<uint8_t>& body, const std::string& head) {
  std::vector<uint8_t> reply(head.begin(), head.end());
  reply.push_back(0x0D);
  reply.push_back(0x0A);
  reply.push_back(static_cast<uint8_t>(body.size() & 0xFF));
  reply.push_back(static_cast<uint8_t>(body.size() >> 8));
  reply.insert(reply.end(), body.begin(), body.end());
  return reply;
}

}  // namespace fakes
