// The system's multibyte code page, as far as the byte-wise rules of the core need to know it.
#pragma once

#include <cstdint>

namespace platform {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // True when byte starts a double-byte character; the byte after it is then part of the
  // character whatever its value. Never true for a byte below 0x80.
  virtual bool IsLeadByte(uint8_t byte) const = 0;
};

// A code page without double-byte characters: the host's, and a Western system's.
class SingleByteCodePage : public CodePage {
 public:
  bool IsLeadByte(uint8_t) const override { return false; }
};

// One shared immutable instance, for readers made where no system is at hand (tools, tests).
inline const CodePage& SingleByte() {
  static const SingleByteCodePage page;
  return page;
}

}  // namespace platform
