// Settings lookup on any file content and key, with both line buffer sizes, against a model
// written the slow and obvious way (text-mode translation, then fgets-sized C strings).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/settings_model.h"
#include "shell/settings_reader.h"

namespace {

constexpr size_t KEY_LIMIT = 32;

}  // namespace

// Input: key length byte, key (a C string: cut at its first zero), then the file content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  std::string key = in.Text(in.Byte() % (KEY_LIMIT + 1));
  key.resize(strnlen(key.c_str(), key.size()));
  const std::string content = in.RestText();

  for (size_t chunkSize : {shell::SETTINGS_LINE_CHUNK, shell::SETTINGS_LINE_CHUNK_TREVALO}) {
    std::string value = shell::LookupSetting(content, key, chunkSize);
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(value.find('\0') == std::string::npos);
    // The value and at least its separator share one line buffer with the terminating zero.
    FUZZ_CHECK(value.size() + 2 <= chunkSize);
    FUZZ_CHECK(value.empty() || content.find(value) != std::string::npos);
    FUZZ_CHECK(value == fuzzing::ModelLookup(fuzzing::ModelLines(content, chunkSize), key));
  }
  return 0;
}
