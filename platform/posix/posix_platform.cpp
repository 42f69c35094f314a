// Files, libraries and the clock on POSIX systems.
#include "platform/posix/posix_platform.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace platform {

std::string ToNativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

bool PosixFiles::Exists(const std::string& path) {
  struct stat info;
  return stat(ToNativePath(path).c_str(), &info) == 0;
}

bool PosixFiles::Size(const std::string& path, uint64_t* size) {
  struct stat info;
  if (stat(ToNativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}

bool PosixFiles::ReadAll(const std::string& path, std::string* content) {
  FILE* file = std::fopen(ToNativePath(path).c_str(), "rb");
  if (!file) return false;
  content->clear();
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content->append(buffer, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

int64_t PosixFiles::ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) {
  std::ifstream in(ToNativePath(path), std::ios::binary);
  if (!in) return -1;
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
  if (in.bad()) return -1;
  return static_cast<int64_t>(in.gcount());
}

std::string PosixFiles::ProfileString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
  std::ifstream in(ToNativePath(file));
  if (!in) return fallback;
  std::string line;
  bool inSection = false;
  auto trim = [](std::string s) {
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
  };
  while (std::getline(in, line)) {
    std::string t = trim(line);
    if (!t.empty() && t.front() == '[') {
      inSection = t == "[" + section + "]";
      continue;
    }
    size_t eq = t.find('=');
    if (inSection && eq != std::string::npos && trim(t.substr(0, eq)) == key) {
      return trim(t.substr(eq + 1));
    }
  }
  return fallback;
}

namespace {

class PosixLoadedLibrary : public LoadedLibrary {
 public:
  explicit PosixLoadedLibrary(void* handle) : handle_(handle) {}
  ~PosixLoadedLibrary() override { dlclose(handle_); }
  void* Export(const char* name) override { return dlsym(handle_, name); }

 private:
  void* handle_;
};

}  // namespace

std::unique_ptr<LoadedLibrary> PosixLibrary::Load(const std::string& nameOrPath) {
  if (nameOrPath.empty()) return nullptr;
  void* handle = dlopen(ToNativePath(nameOrPath).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::make_unique<PosixLoadedLibrary>(handle);
}

uint32_t SteadyClock::TickCount() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SteadyClock::Sleep(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string CurrentProgramPath() {
  char buffer[PATH_MAX + 1] = {};
  ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
  std::string path = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace platform

#include "platform/native.h"

namespace platform {

std::unique_ptr<Files> MakeNativeFiles() {
  return std::make_unique<PosixFiles>(CurrentProgramPath());
}
std::unique_ptr<Library> MakeNativeLibrary() {
  return std::make_unique<PosixLibrary>();
}
std::unique_ptr<Clock> MakeNativeClock() {
  return std::make_unique<SteadyClock>();
}
// Paths and texts here are UTF-8, whose bytes no byte-wise rule of the core can cut wrongly.
std::unique_ptr<CodePage> MakeNativeCodePage() {
  return std::make_unique<SingleByteCodePage>();
}

}  // namespace platform
