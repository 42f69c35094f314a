// What the two detail dialogs ask of the program around them: texts, messages, the tool's
// registry values, the printer checks, the adjustment values and the sample print.
#pragma once

#include <cstdint>
#include <string>

#include "feed/adjustment_selection.h"
#include "feed/sample_run.h"
#include "platform/ui.h"
#include "shell/fonts.h"
#include "shell/texts.h"

namespace shell {
enum class LaunchMode;
}

namespace feed {

// The registry subkey under the model's key that holds the adjustment dialogs' values.
constexpr char TOOL_REGISTRY_SUBKEY[] = "Trevalo";

class DetailSeat {
 public:
  virtual ~DetailSeat() = default;
  virtual shell::LaunchMode Launch() = 0;
  virtual const shell::Texts& GetTexts() = 0;
  virtual shell::FontCache& Fonts() = 0;
  // A message box with the program title as caption; OK/Cancel boxes answer which was pressed.
  virtual ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                             ui::Buttons buttons) = 0;
  // Values under the tool's subkey of the model's key; the fallback when absent or unreadable.
  virtual int32_t GetNumber(const std::string& name, int32_t fallback) = 0;
  virtual void SetNumber(const std::string& name, int32_t value) = 0;
  virtual std::string GetString(const std::string& name, const std::string& fallback) = 0;
  virtual void SetString(const std::string& name, const std::string& value) = 0;
  // File-open dialog; false when cancelled.
  virtual bool ChooseFile(ui::View* owner, const std::string& filter, std::string* chosen) = 0;
  virtual void OpenManual(int page, int topic) = 0;
  // The chosen queue is still installed with its driver on an accepted port.
  virtual bool PrinterInstalled() = 0;
  virtual bool MatchDeviceId() = 0;
  // False when the printer did not become ready; the busy dialog is owned by parent.
  virtual bool WaitUntilReady(ui::View* parent) = 0;
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
