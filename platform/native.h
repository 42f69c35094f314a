// The running system's realisations of the seam, for programs and tools to start with.
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

namespace platform {

std::unique_ptr<Files> MakeNativeFiles();
std::unique_ptr<Library> MakeNativeLibrary();
std::unique_ptr<Clock> MakeNativeClock();
// The system's ANSI code page.
std::unique_ptr<CodePage> MakeNativeCodePage();

#ifdef _WIN32
// Only the Windows build has these; the host tests use fakes.
std::unique_ptr<Registry> MakeNativeRegistry();
std::unique_ptr<System> MakeNativeSystem();
std::unique_ptr<Spooler> MakeNativeSpooler();
std::unique_ptr<ui::Host> MakeNativeHost();
std::unique_ptr<Printing> MakeNativePrinting();
#endif

}  // namespace platform
