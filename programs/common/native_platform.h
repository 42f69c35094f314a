// The running system's platform objects, gathered for the application object.
#pragma once

#include "shell/platform_set.h"

namespace programs {

shell::PlatformSet NativePlatform();

}  // namespace programs
