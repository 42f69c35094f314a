// The platform objects a program runs on; the application object owns them.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/library.h"
#include "platform/print_surface.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace shell {

struct PlatformSet {
  std::unique_ptr<platform::Files> files;
  std::unique_ptr<platform::Registry> registry;
  std::unique_ptr<platform::Library> library;
  std::unique_ptr<platform::Clock> clock;
  std::unique_ptr<platform::System> system;
  std::unique_ptr<platform::Spooler> spooler;
  std::unique_ptr<ui::Host> host;
  // Null where nothing can be printed; the sample print then fails its job.
  std::unique_ptr<platform::Printing> printing;
  // The system's code page; null stands for one without double-byte characters.
  std::unique_ptr<platform::CodePage> codePage;
};

}  // namespace shell
