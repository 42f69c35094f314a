// The control ids of a program's dialog templates, read from its .rc and the id headers it
// includes, so that the fakes create exactly the controls the real windows have.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fakes {

struct RcTemplates {
  std::map<int, std::vector<int>> controls;  // template id -> control ids in template order
  std::vector<std::string> problems;         // names that did not resolve, files not found
};

// rcFile relative to sourceRoot; quoted includes are looked up there too.
RcTemplates ReadRcTemplates(const std::string& sourceRoot, const std::string& rcFile);

// The .rc of a program of the suite ("Kestrune" -> programs/kestrune/kestrune.rc).
std::string ProgramRcFile(const std::string& programName);

}  // namespace fakes
