// Answering the libraries' calls from a trace.
#include "sim/replayed_calls.h"

#include <fstream>
#include <sstream>

#include "sim/protocol_bytes.h"
#include "sim/simulated_driver.h"
#include "trace/trace_calls.h"
#include "trace/trace_replay.h"

namespace sim {

namespace {

using printer_link::KddmHandle;
using trace::Flow;

constexpr char DIVERGENCE_NOTE[] = "replay divergence: ";
constexpr int DEVMODE_FAILED = 0;

KddmHandle AsHandle(int number) {
  return reinterpret_cast<KddmHandle>(static_cast<intptr_t>(number));
}

}  // namespace

bool ReplayedCalls::Answer(const trace::Call& request, trace::Call* answer) {
  std::ifstream in(SystemPath(state_.replay), std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  trace::Trace recorded = trace::ReadTrace(text.str());
  if (state_.replayCalls == 0) {
    if (!in) state_.log.push_back("replay: cannot read " + state_.replay);
    for (const trace::BadLine& bad : recorded.bad) {
      state_.log.push_back("replay: line " + std::to_string(bad.lineNumber) +
                           " left out: " + bad.problem);
    }
  }
  trace::TraceReplay replay(recorded, &state_.replayUsed, &state_.replayCalls);
  trace::Divergence divergence;
  const trace::Call* found = replay.Answer(request, &divergence);
  if (!found) {
    std::string text = trace::FormatDivergence(divergence);
    state_.divergences.push_back(text);
    state_.log.push_back(DIVERGENCE_NOTE + text);
    return false;
  }
  *answer = *found;
  const trace::Field* took = trace::FindField(answer->out, trace::TOOK_FIELD);
  if (clock_ && took && took->kind == trace::ValueKind::Number && took->number > 0) {
    clock_->Sleep(static_cast<uint32_t>(took->number));
  }
  return true;
}

template <typename Move>
int ReplayedCalls::Answered(const trace::Call& request, int failed, Move move) {
  trace::Call answer;
  if (!Answer(request, &answer)) return failed;
  move(answer);
  return static_cast<int>(answer.result);
}

int ReplayedCalls::KBInitialize() {
  return Answered(trace::KBInitializeRequest(), KB_FAILED, [](trace::Call&) {});
}

int ReplayedCalls::KBRelease() {
  return Answered(trace::KBReleaseRequest(), KB_FAILED, [](trace::Call&) {});
}

int ReplayedCalls::KBGetDeviceID(int constant, const char* queue, char* buffer, uint32_t* size) {
  uint32_t room = trace::RoomOf(size);
  return Answered(
      trace::KBGetDeviceIDRequest(constant, queue, size), KB_FAILED,
      [&](trace::Call& c) { trace::KBGetDeviceIDAnswer(c, Flow::Replay, buffer, room, size); });
}

int ReplayedCalls::KBGetAvailableChannel(int constant, const char* queue, uint8_t* buffer,
                                         uint32_t* size) {
  uint32_t room = trace::RoomOf(size);
  return Answered(trace::KBGetAvailableChannelRequest(constant, queue, buffer, size), KB_FAILED,
                  [&](trace::Call& c) {
                    trace::KBGetAvailableChannelAnswer(c, Flow::Replay, buffer, room, size);
                  });
}

int ReplayedCalls::KBOpenChannel(int constant, const char* queue, uint32_t type) {
  return Answered(trace::KBOpenChannelRequest(constant, queue, type), KB_FAILED,
                  [](trace::Call&) {});
}

int ReplayedCalls::KBCloseChannel(int handle) {
  return Answered(trace::KBCloseChannelRequest(handle), KB_FAILED, [](trace::Call&) {});
}

int ReplayedCalls::KBSetOption(int handle, int option, void* data, uint32_t size) {
  return Answered(trace::KBSetOptionRequest(handle, option, data, size), KB_FAILED,
                  [](trace::Call&) {});
}

int ReplayedCalls::KBGetOption(int handle, int option, void* data, uint32_t* size) {
  uint32_t room = trace::RoomOf(size);
  return Answered(trace::KBGetOptionRequest(handle, option, size), KB_FAILED, [&](trace::Call& c) {
    trace::KBGetOptionAnswer(c, Flow::Replay, data, room, size);
  });
}

int ReplayedCalls::KBReceiveCancel(int handle) {
  return Answered(trace::KBReceiveCancelRequest(handle), KB_FAILED, [](trace::Call&) {});
}

int ReplayedCalls::KBGetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  uint32_t room = trace::RoomOf(size);
  return Answered(trace::KBGetStatusRequest(handle, size), KB_FAILED, [&](trace::Call& c) {
    trace::KBGetStatusAnswer(c, Flow::Replay, buffer, room, size);
  });
}

int ReplayedCalls::KBSend(int handle, const uint8_t* data, uint32_t length) {
  return Answered(trace::KBSendRequest(handle, data, length), KB_FAILED, [](trace::Call&) {});
}

int ReplayedCalls::KBReceive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs) {
  uint32_t room = trace::RoomOf(size);
  return Answered(
      trace::KBReceiveRequest(handle, size, timeLimitMs), KB_FAILED,
      [&](trace::Call& c) { trace::KBReceiveAnswer(c, Flow::Replay, buffer, room, size); });
}

int ReplayedCalls::KDDM_Open(const char* queue, int openNumber, uint32_t flags, const void* devMode,
                             int* handle) {
  return Answered(trace::KDDM_OpenRequest(queue, openNumber, flags, devMode), KDDM_FAILED,
                  [&](trace::Call& c) {
                    KddmHandle opened = nullptr;
                    trace::KDDM_OpenAnswer(c, Flow::Replay, &opened);
                    if (handle) *handle = static_cast<int>(reinterpret_cast<intptr_t>(opened));
                  });
}

int ReplayedCalls::KDDM_GetDriverInfo(int handle) {
  return Answered(trace::KDDM_GetDriverInfoRequest(AsHandle(handle)), KDDM_FAILED,
                  [](trace::Call&) {});
}

int ReplayedCalls::KDDM_GetCommandLevel(int handle) {
  return Answered(trace::KDDM_GetCommandLevelRequest(AsHandle(handle)), KDDM_FAILED,
                  [](trace::Call&) {});
}

int ReplayedCalls::KDDM_GetRange(int handle, int item, void* block) {
  return Answered(
      trace::KDDM_GetRangeRequest(AsHandle(handle), item, block), KDDM_FAILED,
      [&](trace::Call& c) { trace::KDDM_GetRangeAnswer(c, Flow::Replay, item, block); });
}

int ReplayedCalls::KDDM_GetData(int handle, int item, void* block) {
  return Answered(trace::KDDM_GetDataRequest(AsHandle(handle), item, block), KDDM_FAILED,
                  [&](trace::Call& c) { trace::KDDM_GetDataAnswer(c, Flow::Replay, item, block); });
}

int ReplayedCalls::KDDM_SetData(int handle, int item, intptr_t value) {
  return Answered(trace::KDDM_SetDataRequest(AsHandle(handle), item, value), KDDM_FAILED,
                  [](trace::Call&) {});
}

int ReplayedCalls::KDDM_GetDevMode(int handle, void* buffer) {
  return Answered(trace::KDDM_GetDevModeRequest(AsHandle(handle), buffer), DEVMODE_FAILED,
                  [&](trace::Call& c) {
                    // The program sized its buffer by the size query's answer.
                    if (!buffer) {
                      state_.replayDevModeSize = c.result > 0 ? static_cast<uint32_t>(c.result) : 0;
                    }
                    trace::KDDM_GetDevModeAnswer(c, Flow::Replay, buffer, state_.replayDevModeSize);
                  });
}

int ReplayedCalls::KDDM_Close(int handle) {
  return Answered(trace::KDDM_CloseRequest(AsHandle(handle)), KDDM_FAILED, [](trace::Call&) {});
}

}  // namespace sim
