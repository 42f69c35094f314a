// Files, libraries, the clock, the code page and the kernel's named objects and version
// information on Win32.
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/win32/win32_headers.h"
#include "platform/win32/win32_on_demand.h"

namespace platform {

namespace {

// The profile string buffer the driver data files are read with; longer values are cut.
constexpr DWORD PROFILE_BUFFER = 256;
constexpr DWORD MAX_SINGLE_READ = 0xFFFFFFFFu;

class Win32Files : public Files {
 public:
  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool Size(const std::string& path, uint64_t* size) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
  }

  bool ReadAll(const std::string& path, std::string* content) override {
    // Shared read: settings files are looked up at every text and may be open elsewhere.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string data;
    char chunk[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) {
      data.append(chunk, got);
    }
    CloseHandle(file);
    if (!ok) return false;
    *content = std::move(data);
    return true;
  }

  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD wanted = size > MAX_SINGLE_READ ? MAX_SINGLE_READ : static_cast<DWORD>(size);
    DWORD got = 0;
    BOOL ok = ReadFile(file, buffer, wanted, &got, nullptr);
    CloseHandle(file);
    return ok ? static_cast<int64_t>(got) : -1;
  }

  std::string ProgramPath() override {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
      DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return std::string();
      if (n < buffer.size()) return std::string(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }

  std::string ProfileString(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& fallback) override {
    char value[PROFILE_BUFFER] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value, PROFILE_BUFFER,
                             file.c_str());
    return value;
  }
};

class Win32LoadedLibrary : public LoadedLibrary {
 public:
  explicit Win32LoadedLibrary(HMODULE module) : module_(module) {}
  ~Win32LoadedLibrary() override { FreeLibrary(module_); }

  void* Export(const char* name) override {
    FARPROC address = GetProcAddress(module_, name);
    return reinterpret_cast<void*>(address);
  }

 private:
  HMODULE module_;
};

class Win32Library : public Library {
 public:
  std::unique_ptr<LoadedLibrary> Load(const std::string& nameOrPath) override {
    if (nameOrPath.empty()) return nullptr;
    HMODULE module = LoadLibraryA(nameOrPath.c_str());
    if (!module) return nullptr;
    return std::make_unique<Win32LoadedLibrary>(module);
  }
};

class Win32Clock : public Clock {
 public:
  uint32_t TickCount() override { return GetTickCount(); }
  void Sleep(uint32_t ms) override { ::Sleep(ms); }
};

// The lead-byte test of the ANSI code page, the code page of every "A" call the suite makes.
class Win32CodePage : public CodePage {
 public:
  bool IsLeadByte(uint8_t byte) const override { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; }
};

class Win32InstanceLock : public InstanceLock {
 public:
  explicit Win32InstanceLock(HANDLE mutex) : mutex_(mutex) {}
  ~Win32InstanceLock() override { CloseHandle(mutex_); }

 private:
  HANDLE mutex_;
};

class Win32System : public System {
 public:
  bool InstanceLockExists(const std::string& name) override {
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
  }

  std::unique_ptr<InstanceLock> CreateInstanceLock(const std::string& name) override {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (!mutex) return nullptr;
    return std::make_unique<Win32InstanceLock>(mutex);
  }

  OsVersion Version() override {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return OsVersion{};
    return OsVersion{static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
  }

  bool ProgramFileVersion(uint32_t* high, uint32_t* low) override {
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return false;
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto infoSize = OnDemandExport<SizeFn>("version.dll", "GetFileVersionInfoSizeA");
    auto info = OnDemandExport<InfoFn>("version.dll", "GetFileVersionInfoA");
    auto query = OnDemandExport<QueryFn>("version.dll", "VerQueryValueA");
    if (!infoSize || !info || !query) return false;
    DWORD ignored = 0;
    DWORD size = infoSize(path, &ignored);
    if (size == 0) return false;
    std::vector<uint8_t> block(size);
    if (!info(path, 0, size, block.data())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!query(block.data(), root, reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO)) {
      return false;
    }
    *high = fixed->dwFileVersionMS;
    *low = fixed->dwFileVersionLS;
    return true;
  }
};

}  // namespace

std::unique_ptr<Files> MakeNativeFiles() {
  return std::make_unique<Win32Files>();
}
std::unique_ptr<Library> MakeNativeLibrary() {
  return std::make_unique<Win32Library>();
}
std::unique_ptr<Clock> MakeNativeClock() {
  return std::make_unique<Win32Clock>();
}
std::unique_ptr<CodePage> MakeNativeCodePage() {
  return std::make_unique<Win32CodePage>();
}
std::unique_ptr<System> MakeNativeSystem() {
  return std::make_unique<Win32System>();
}

}  // namespace platform
