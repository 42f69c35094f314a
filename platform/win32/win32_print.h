// Printing on the system's printer drivers through GDI device contexts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// True when the bytes hold a device mode block whole: its fixed head, and at least the public
// part and the driver's private part that its own size fields announce. The system copies that
// many bytes when it makes a context, so a shorter block would be read past its end.
bool DeviceModeBlockWhole(const uint8_t* block, size_t size);

}  // namespace platform
