// What the two detail dialogs and the paper setting dialog ask of the program around them, beyond
// what every tool page asks: the manual, the adjustment values, the waits between a write and
// its read-back and the sample print.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui.h"
#include "samples/adjustment_selection.h"
#include "samples/sample_run.h"
#include "shell/tool_seat.h"

namespace feed {

class DetailSeat : public shell::ToolSeat {
 public:
  // File-open dialog; false when cancelled.
  virtual bool ChooseFile(ui::View* owner, const std::string& filter, std::string* chosen) = 0;
  virtual void OpenManual(int page, int topic) = 0;
  // The value text of the selection's setting, empty when it cannot be read.
  virtual std::string ReadAdjustValue(const AdjustmentSelection& selection, int valueKind) = 0;
  // 1 when a selector was found and the write job handed over, 0 when there is no selector.
  virtual int WriteAdjustValue(const AdjustmentSelection& selection, int value,
                               const std::string& valueString, int valueKind) = 0;
  // The waits between a write and its read-back, on the program's clock.
  virtual void Sleep(uint32_t ms) = 0;
  virtual SamplePrinter& Samples() = 0;
};

}  // namespace feed
