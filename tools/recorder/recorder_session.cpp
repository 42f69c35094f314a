// Loading the real library and appending to the trace.
#include "tools/recorder/recorder_session.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/module_path.h"
#include "platform/native.h"

namespace recorder {

namespace {

// Flat key=value lines, first match wins, '#' lines are notes: as the suite's settings files.
std::string Setting(const std::string& text, const std::string& key, const std::string& fallback) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq != std::string::npos && line.compare(0, eq, key) == 0 && eq + 1 < line.size()) {
      return line.substr(eq + 1);
    }
  }
  return fallback;
}

// A name alone lies beside the recording library; a path is taken as it is.
std::string Beside(const std::string& name) {
  if (name.find_first_of("\\/") != std::string::npos) return name;
  return OwnFolder() + name;
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] == '/' ? '\\' : a[i];
    char y = b[i] == '/' ? '\\' : b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string OwnPath() {
  return platform::ModulePathOf(reinterpret_cast<const void*>(&OwnPath));
}

std::string OwnFolder() {
  return platform::FolderOf(OwnPath());
}

Session& TheSession(const LibraryNames& names) {
  static Session session(names);
  return session;
}

Session::Session(const LibraryNames& names)
    : loader_(platform::MakeNativeLibrary()), clock_(platform::MakeNativeClock()) {
  std::ifstream in(OwnFolder() + SETTINGS_FILE, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  tracePath_ = Beside(Setting(text.str(), TRACE_KEY, DEFAULT_TRACE));
  std::string real = Beside(Setting(text.str(), names.key, names.defaultName));
  // Named after itself it would call itself for ever.
  if (SamePath(real, OwnPath())) {
    Report(std::string("the real library ") + real + " is this recording library");
    return;
  }
  real_ = loader_->Load(real);
  if (!real_) Report("the real library " + real + " cannot be loaded");
}

void* Session::Export(const char* name) {
  if (!real_) return nullptr;
  auto found = exports_.find(name);
  if (found != exports_.end()) return found->second;
  void* address = real_->Export(name);
  exports_[name] = address;
  return address;
}

bool Session::Append(const std::string& line) {
  std::FILE* file = std::fopen(tracePath_.c_str(), "ab");
  if (!file) return false;
  // A new trace starts with its header.
  bool fresh = std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) == 0;
  bool written = (!fresh || std::fprintf(file, "%s\n", trace::TRACE_HEADER) > 0) &&
                 std::fprintf(file, "%s\n", line.c_str()) > 0;
  return std::fclose(file) == 0 && written;
}

void Session::Report(const std::string& problem) {
  if (reported_) return;
  reported_ = true;
  std::FILE* log = std::fopen((tracePath_ + LOG_SUFFIX).c_str(), "ab");
  if (!log) return;
  std::fprintf(log, "%s\n", problem.c_str());
  std::fclose(log);
}

}  // namespace recorder
