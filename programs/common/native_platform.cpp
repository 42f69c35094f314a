// The running system's platform objects, gathered for the application object.
#include "programs/common/native_platform.h"

#include "platform/native.h"

namespace programs {

shell::PlatformSet NativePlatform() {
  shell::PlatformSet set;
  set.files = platform::MakeNativeFiles();
  set.registry = platform::MakeNativeRegistry();
  set.library = platform::MakeNativeLibrary();
  set.clock = platform::MakeNativeClock();
  set.system = platform::MakeNativeSystem();
  set.spooler = platform::MakeNativeSpooler();
  set.host = platform::MakeNativeHost();
  set.printing = platform::MakeNativePrinting();
  set.codePage = platform::MakeNativeCodePage();
  return set;
}

}  // namespace programs
