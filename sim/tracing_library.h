// A library that records: loads through another Library and, while a recording is on, hands out
// exports that forward to the loaded ones through trace::RecordingCalls, as the recording
// libraries do in the field. Host tests record a flow's calls with it.
#pragma once

#include <memory>
#include <string>

#include "platform/library.h"
#include "trace/trace_recorder.h"

namespace sim {

class TracingLibrary : public platform::Library {
 public:
  explicit TracingLibrary(std::unique_ptr<platform::Library> inner) : inner_(std::move(inner)) {}

  // Libraries loaded from now on record through calls (null: they are the inner ones). Only the
  // last loaded bidirectional and driver-settings library record at a time.
  void Record(trace::RecordingCalls* calls) { calls_ = calls; }

  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& nameOrPath) override;

 private:
  std::unique_ptr<platform::Library> inner_;
  trace::RecordingCalls* calls_ = nullptr;
};

}  // namespace sim
