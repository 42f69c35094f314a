// A scripted stand-in of the bidirectional library's twelve exports, loaded through a fake
// platform::Library, with a switch for every result and a log of every call.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/library.h"

namespace fakes {

struct ChannelEntry {
  uint32_t type;
  uint8_t flags;  // usable when the three low bits are set
};

struct ScriptedReceive {
  ScriptedReceive(int r, std::vector<uint8_t> b = {}, std::optional<uint32_t> after = std::nullopt)
      : result(r), bytes(std::move(b)), sizeAfter(after) {}
  int result;
  std::vector<uint8_t> bytes;         // written into the buffer, at most its size
  std::optional<uint32_t> sizeAfter;  // what the size argument is left at (default: written)
};

class KbScript {
 public:
  // Loading and binding.
  bool loadFails = false;
  std::set<std::string> missingExports;
  int initializeResult = 0;
  int releaseResult = 0;

  // KBGetDeviceID: the text is copied with its zero when it fits in the buffer.
  int deviceIdResult = 0;
  std::string deviceId;

  // KBGetAvailableChannel.
  std::vector<ChannelEntry> channels;
  int sizeQueryResult = -4;
  std::optional<uint32_t> sizeQueryAnswer;  // default: 8 bytes per entry
  std::optional<int> listResult;            // default: the number of entries

  // KBOpenChannel answers this handle.
  int openResult = 1;

  // KBGetStatus: replies in order, the last one repeating; none scripted answers 0.
  std::vector<std::vector<uint8_t>> statusReplies;
  std::optional<int> statusResult;  // default: the reply's length

  // KBSend (default: the length) and KBReceive (empty queue: silence, 0).
  std::optional<int> sendResult;
  std::deque<ScriptedReceive> receives;

  // Logs.
  std::vector<std::string> loadedNames;
  std::vector<std::string> calls;   // export names in call order
  std::vector<std::string> queues;  // queue names passed to the queue calls
  std::vector<uint32_t> openedTypes;
  std::vector<int> closedHandles;
  std::vector<std::vector<uint8_t>> sent;
  std::vector<uint32_t> receiveSizes;   // size argument on entry
  std::vector<uint32_t> receiveLimits;  // time limit argument
  size_t statusIndex = 0;

  int Count(const std::string& call) const;
};

// The exports reach the script through one static pointer (plain functions carry no state), so
// only one FakeKbLibrary may be live at a time.
class FakeKbLibrary : public platform::Library {
 public:
  FakeKbLibrary();
  ~FakeKbLibrary() override;
  FakeKbLibrary(const FakeKbLibrary&) = delete;
  FakeKbLibrary& operator=(const FakeKbLibrary&) = delete;

  // Loads under any non-empty name unless script.loadFails.
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& nameOrPath) override;

  KbScript script;
};

// A whole KBGetStatus reply: text head, CR LF, 16-bit length word, body.
std::vector<uint8_t> StatusReplyBytes(const std::vector<uint8_t>& body,
                                      const std::string& head = "@BDC ST2");

}  // namespace fakes
