// What a recording library keeps while the program runs: the real library it forwards to, named
// in the settings file beside it, and the trace it appends each call to.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/library.h"
#include "trace/trace_recorder.h"

namespace recorder {

// The settings file beside the recording libraries, and its keys.
constexpr char SETTINGS_FILE[] = "kdtrace.ini";
constexpr char TRACE_KEY[] = "TRACE";
constexpr char DEFAULT_TRACE[] = "kdtrace.txt";
constexpr char LOG_SUFFIX[] = ".log";

struct LibraryNames {
  const char* key;          // names the real library in the settings file ("KBAPI")
  const char* defaultName;  // when the file does not ("KBAPI_REAL.DLL")
};
constexpr LibraryNames KBAPI_NAMES = {"KBAPI", "KBAPI_REAL.DLL"};
constexpr LibraryNames KDSET32_NAMES = {"KDSET32", "KDSET32_REAL.DLL"};

// The folder of the library this code is linked into, with its separator.
std::string OwnFolder();
// The path of the library this code is linked into.
std::string OwnPath();

class Session : public trace::TraceSink {
 public:
  explicit Session(const LibraryNames& names);

  // An export of the real library, or null (the call then answers as a missing export would).
  template <typename Fn>
  Fn Real(const char* name) {
    return reinterpret_cast<Fn>(Export(name));
  }
  trace::RecordingCalls& Calls() { return calls_; }

  bool Append(const std::string& line) override;
  void Report(const std::string& problem) override;
  uint32_t Tick() override { return clock_->TickCount(); }

 private:
  void* Export(const char* name);

  std::unique_ptr<platform::Library> loader_;
  std::unique_ptr<platform::LoadedLibrary> real_;
  std::unique_ptr<platform::Clock> clock_;
  std::map<std::string, void*> exports_;
  std::string tracePath_;
  bool reported_ = false;
  trace::Recorder recorder_{*this};
  trace::RecordingCalls calls_{recorder_};
};

// The one recording of this library for the life of the process, made at its first call with
// names: the library's exports are plain functions. Each recording library asks with its own
// names only.
Session& TheSession(const LibraryNames& names);

}  // namespace recorder

// The body of each export of a recording library: the call goes to RecordingCalls' operation of
// the export's name, with the real library's export of that name, which it calls and records.
// NAMES is the library's LibraryNames, declared by its file.
#define KD_RECORDED(name, ...)              \
  recorder::TheSession(NAMES).Calls().name( \
      recorder::TheSession(NAMES).Real<printer_link::name##Fn>(#name), ##__VA_ARGS__)
