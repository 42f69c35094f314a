// A printer that answers the bidirectional library's calls and acts on raw jobs, for tests,
// the stand-in libraries and kdsim.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "sim/printer_state.h"

namespace sim {

// The model a printer with the wrong_model fault reports.
constexpr char WRONG_MODEL_NAME[] = "KALDO Other Model";
// Log lines of what the printer was told out of order.
constexpr char PROTOCOL_FAULT_PREFIX[] = "protocol fault: ";

// An ordinary print job as the printer's driver hands it over: its document name, the texts of
// its pages and the device mode it was printed with.
struct DriverJob {
  std::string documentName;
  std::vector<std::string> texts;
  std::vector<uint8_t> devMode;
  int pages = 0;
};

class SimulatedPrinter {
 public:
  explicit SimulatedPrinter(platform::Clock& clock) : clock_(clock) {}

  PrinterState& State() { return state_; }
  const PrinterState& State() const { return state_; }
  bool Load(const std::string& path, std::string* error = nullptr) {
    return LoadState(path, &state_, error);
  }
  bool Save(const std::string& path) const { return SaveState(path, state_); }

  // The library's exports, with their arguments and results.
  int Initialize();
  int Release();
  int GetDeviceId(int constant, const char* queue, char* buffer, uint32_t* size);
  int GetAvailableChannel(int constant, const char* queue, uint8_t* buffer, uint32_t* size);
  int OpenChannel(int constant, const char* queue, uint32_t type);
  int CloseChannel(int handle);
  int SetOption(int handle, int option, void* data, uint32_t size);
  int GetOption(int handle, int option, void* data, uint32_t* size);
  int ReceiveCancel(int handle);
  int GetStatus(int handle, uint8_t* buffer, uint32_t* size);
  int Send(int handle, const uint8_t* data, uint32_t length);
  // Waits the time limit on the printer's clock when no reply is there, then answers 0.
  int Receive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs);

  // A raw job as the spooler delivers it.
  void ReceiveJob(const std::vector<uint8_t>& job) { ReceiveJob(job.data(), job.size()); }
  void ReceiveJob(const uint8_t* bytes, size_t length);
  // A job printed through the driver: logged with the driver items its device mode carries
  // and the adjustment values in force as it prints.
  void ReceiveDriverJob(const DriverJob& job);
  // Ends the run of samples on sheets: one still open without mode 2 is a protocol fault. Then
  // the protocol faults logged so far.
  std::vector<std::string> EndSampleRun();
  // Takes what was appended to the input file since the last call as one job. Answers the
  // bytes taken (0 when there is no input file or nothing new).
  long IngestInput();

  // What the printer says, without a channel.
  std::string DeviceId() const;
  // The status reply; each call counts as one status poll.
  std::vector<uint8_t> StatusBytes();
  // Reply to a remote command sent on a channel (marker, text, end); empty when none comes.
  std::vector<uint8_t> ReplyTo(const std::vector<uint8_t>& command);
  // True while a firmware update or an action keeps the printer busy.
  bool IsBusy();

  // Adjustment values ("EX" group 0000001F) by their 13-byte selector: current and reference
  // as four hex digits ("8A80"; a value never written reads 8080).
  std::string AdjustmentValue(const std::vector<uint8_t>& selector) const;
  void SetAdjustmentValue(const std::vector<uint8_t>& selector, uint8_t current, uint8_t reference);

 private:
  struct JobSession;

  void Settle();
  bool Reachable() const;
  bool QueueMatches(const char* queue) const;
  int StatusCode();
  void Note(const std::string& line) { state_.log.push_back(line); }
  void MakeBusyFor(uint32_t ms);
  void ProtocolFault(const std::string& what) { Note(PROTOCOL_FAULT_PREFIX + what); }
  void SheetCommand(int mode);
  // A job on the printer: after mode 0 it ends the shared sheet.
  void SheetJob();
  void ActOnCommand(const std::string& command, const std::vector<uint8_t>& params,
                    JobSession* session);
  void TakeFirmware(const std::vector<uint8_t>& file, size_t leadIn);
  // The text that answers an "EX" read.
  std::string AdjustmentReply(const std::vector<uint8_t>& params) const;

  platform::Clock& clock_;
  PrinterState state_;
};

// The firmware file's version text, or empty with *problem saying why the printer refuses it.
std::string FirmwareFileVersion(const std::vector<uint8_t>& file, std::string* problem);

}  // namespace sim
