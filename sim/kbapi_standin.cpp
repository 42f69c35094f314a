// Stand-in for the maker's bidirectional library: each export loads the shared printer state,
// takes in any raw jobs the spooler wrote to the printer's input file, acts and saves.
#include <cstdlib>
#include <string>
#include <type_traits>

#include "link/bidi_api.h"
#include "link/library_exports.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_printer.h"
#include "sim/standin_state_path.h"
#include "sim/wall_clock.h"

namespace {

// Without a state file there is no printer: every call fails.
template <typename Action>
int WithPrinter(Action action) {
  sim::WallClock clock;
  sim::SimulatedPrinter printer(clock);
  std::string path = sim::StandInStatePath();
  if (!printer.Load(path)) return sim::KB_FAILED;
  std::string loaded = sim::FormatState(printer.State());
  printer.IngestInput();
  int result = action(printer);
  // A receive that waited for nothing leaves the file alone, so that a change another process
  // made meanwhile (kdsim set) is not overwritten.
  if (sim::FormatState(printer.State()) != loaded) printer.Save(path);
  return result;
}

}  // namespace

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBInitialize() {
  return WithPrinter([](sim::SimulatedPrinter& p) { return p.Initialize(); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBRelease() {
  return WithPrinter([](sim::SimulatedPrinter& p) { return p.Release(); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetDeviceID(int constant, const char* queue, char* buffer,
                                                    uint32_t* size) {
  return WithPrinter(
      [&](sim::SimulatedPrinter& p) { return p.GetDeviceId(constant, queue, buffer, size); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetAvailableChannel(int constant, const char* queue,
                                                            uint8_t* buffer, uint32_t* size) {
  return WithPrinter([&](sim::SimulatedPrinter& p) {
    return p.GetAvailableChannel(constant, queue, buffer, size);
  });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBOpenChannel(int constant, const char* queue,
                                                    uint32_t type) {
  return WithPrinter(
      [&](sim::SimulatedPrinter& p) { return p.OpenChannel(constant, queue, type); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBCloseChannel(int handle) {
  return WithPrinter([&](sim::SimulatedPrinter& p) { return p.CloseChannel(handle); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBSetOption(int handle, int option, void* data,
                                                  uint32_t size) {
  return WithPrinter(
      [&](sim::SimulatedPrinter& p) { return p.SetOption(handle, option, data, size); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetOption(int handle, int option, void* data,
                                                  uint32_t* size) {
  return WithPrinter(
      [&](sim::SimulatedPrinter& p) { return p.GetOption(handle, option, data, size); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBReceiveCancel(int handle) {
  return WithPrinter([&](sim::SimulatedPrinter& p) { return p.ReceiveCancel(handle); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  return WithPrinter([&](sim::SimulatedPrinter& p) { return p.GetStatus(handle, buffer, size); });
}

// Left out of the variant that shows how the programs cope with an incomplete library.
#ifndef KD_STANDIN_WITHOUT_SEND
KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBSend(int handle, const uint8_t* data, uint32_t length) {
  return WithPrinter([&](sim::SimulatedPrinter& p) { return p.Send(handle, data, length); });
}
#endif

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBReceive(int handle, uint8_t* buffer, uint32_t* size,
                                                uint32_t timeLimitMs) {
  return WithPrinter(
      [&](sim::SimulatedPrinter& p) { return p.Receive(handle, buffer, size, timeLimitMs); });
}

// The exports must keep the signatures the binding calls them through (the convention aside,
// which the binding does not assume).
#if !defined(__i386__) || defined(KD_STANDIN_CDECL)
static_assert(std::is_same<decltype(&KBInitialize), printer_link::KBInitializeFn>::value, "");
static_assert(std::is_same<decltype(&KBGetDeviceID), printer_link::KBGetDeviceIDFn>::value, "");
static_assert(
    std::is_same<decltype(&KBGetAvailableChannel), printer_link::KBGetAvailableChannelFn>::value,
    "");
static_assert(std::is_same<decltype(&KBOpenChannel), printer_link::KBOpenChannelFn>::value, "");
static_assert(std::is_same<decltype(&KBGetStatus), printer_link::KBGetStatusFn>::value, "");
#ifndef KD_STANDIN_WITHOUT_SEND
static_assert(std::is_same<decltype(&KBSend), printer_link::KBSendFn>::value, "");
#endif
static_assert(std::is_same<decltype(&KBReceive), printer_link::KBReceiveFn>::value, "");
#endif
