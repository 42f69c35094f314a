// A reader for the small part of the resource script language the suite's .rc files use.
#include "tests/support/rc_templates.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace fakes {

namespace {

// Statements whose first argument is the text, then the id.
const std::set<std::string> TEXT_FIRST = {
    "CONTROL",         "LTEXT",    "RTEXT",    "CTEXT",        "PUSHBUTTON",
    "DEFPUSHBUTTON",   "GROUPBOX", "CHECKBOX", "AUTOCHECKBOX", "RADIOBUTTON",
    "AUTORADIOBUTTON", "ICON",     "STATE3",   "AUTO3STATE",   "PUSHBOX"};
// Statements whose first argument is the id.
const std::set<std::string> ID_FIRST = {"COMBOBOX", "EDITTEXT", "LISTBOX", "SCROLLBAR"};

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

class Reader {
 public:
  explicit Reader(std::string root) : root_(std::move(root)) {
    defines_["IDOK"] = 1;
    defines_["IDCANCEL"] = 2;
    defines_["IDC_STATIC"] = -1;
  }

  void ReadFile(const std::string& relative) {
    std::ifstream in(root_ + "/" + relative);
    if (!in) {
      result.problems.push_back("cannot read " + relative);
      return;
    }
    std::string line;
    while (std::getline(in, line)) ReadLine(Trim(line));
  }

  RcTemplates result;

 private:
  void ReadLine(const std::string& line) {
    if (line.empty() || line.compare(0, 2, "/*") == 0 || line.compare(0, 2, "//") == 0) return;
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "#include") {
      std::string file;
      words >> file;
      if (file.size() > 2 && file.front() == '"') ReadFile(file.substr(1, file.size() - 2));
      return;
    }
    if (first == "#define") {
      std::string name, value;
      words >> name >> value;
      char* end = nullptr;
      long number = std::strtol(value.c_str(), &end, 0);
      if (!value.empty() && end && *end == '\0') defines_[name] = static_cast<int>(number);
      return;
    }
    if (state_ == State::Outside) {
      std::string second;
      words >> second;
      if (second == "DIALOG" || second == "DIALOGEX") {
        current_ = Resolve(first);
        result.controls[current_];
        state_ = State::Header;
      }
      return;
    }
    if (state_ == State::Header) {
      if (first == "BEGIN" || first == "{") state_ = State::Controls;
      return;
    }
    if (first == "END" || first == "}") {
      state_ = State::Outside;
      return;
    }
    if (TEXT_FIRST.count(first)) {
      size_t quote = line.find('"');
      size_t close = quote == std::string::npos ? quote : line.find('"', quote + 1);
      if (close == std::string::npos) return;
      size_t comma = line.find(',', close);
      AddControl(comma == std::string::npos ? std::string() : line.substr(comma + 1));
    } else if (ID_FIRST.count(first)) {
      AddControl(line.substr(first.size()));
    }
  }

  void AddControl(const std::string& arguments) {
    std::string id = Trim(arguments.substr(0, arguments.find(',')));
    result.controls[current_].push_back(Resolve(id));
  }

  int Resolve(const std::string& name) {
    if (!name.empty() && (std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '-')) {
      return std::atoi(name.c_str());
    }
    auto found = defines_.find(name);
    if (found != defines_.end()) return found->second;
    result.problems.push_back("unknown id " + name);
    return 0;
  }

  enum class State { Outside, Header, Controls };
  std::string root_;
  std::map<std::string, int> defines_;
  State state_ = State::Outside;
  int current_ = 0;
};

}  // namespace

RcTemplates ReadRcTemplates(const std::string& sourceRoot, const std::string& rcFile) {
  Reader reader(sourceRoot);
  reader.ReadFile(rcFile);
  return reader.result;
}

std::string ProgramRcFile(const std::string& programName) {
  std::string folder;
  for (char c : programName) folder.push_back(static_cast<char>(std::tolower(c)));
  return "programs/" + folder + "/" + folder + ".rc";
}

}  // namespace fakes
