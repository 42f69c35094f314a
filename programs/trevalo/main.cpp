// Trevalo's Win32 entry: the application object over the running system's platform.
#include <memory>

#include "programs/common/native_platform.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window.h"
#include "shell/tool_app.h"

// After the portable headers: the system's macros must not rename their declarations.
#include <windows.h>
// windows.h first: commctrl.h builds on it.
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  shell::ToolApp app(programs::TrevaloProfile(), programs::NativePlatform());
  app.SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  app.Run([](shell::ToolApp& owner) -> std::unique_ptr<shell::MainFrame> {
    return std::make_unique<shell::MainWindow>(owner, programs::TrevaloPages());
  });
  return 0;
}
