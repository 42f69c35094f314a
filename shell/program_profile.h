// What distinguishes the three programs where the shared shell code decides.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "shell/texts.h"

namespace shell {

enum class Program { Kestrune, Sunnabar, Trevalo };

struct PageEntry {
  int number;
  int templateId;  // 0 = no page behind the entry
  int nameText;
  int descriptionText;
};

struct ProgramProfile {
  Program program;
  std::string name;  // caption of the missing-file box
  int titleText;     // program title: caption of message boxes
  int sharedObjectsFailedText;
  std::vector<std::string> requiredFiles;  // in the order they are checked
  size_t lineChunk;
  TextKeyStyle keyStyle;
  int startPage;
  std::vector<PageEntry> pages;
};

// The settings files every program needs, in the order they are checked.
std::vector<std::string> CommonRequiredFiles();

}  // namespace shell
