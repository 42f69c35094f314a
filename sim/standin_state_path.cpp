// Where a stand-in library finds the simulated printer's state.
#include "sim/standin_state_path.h"

#include <cstdlib>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace sim {

namespace {

constexpr char STATE_VARIABLE[] = "KD_SIM_STATE";
constexpr char STATE_FILE_NAME[] = "kdsim.state";

// Folder of this library, with its separator, so the state may lie beside it.
std::string LibraryFolder() {
  std::string path;
#ifdef _WIN32
  HMODULE self = nullptr;
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&LibraryFolder), &self)) {
    char buffer[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(self, buffer, MAX_PATH);
    if (n > 0 && n < MAX_PATH) path.assign(buffer, n);
  }
  size_t cut = path.find_last_of("\\/");
#else
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) && info.dli_fname) {
    path = info.dli_fname;
  }
  size_t cut = path.rfind('/');
#endif
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

std::string StandInStatePath() {
  const char* named = std::getenv(STATE_VARIABLE);
  if (named != nullptr && *named != '\0') return named;
  return LibraryFolder() + STATE_FILE_NAME;
}

}  // namespace sim
