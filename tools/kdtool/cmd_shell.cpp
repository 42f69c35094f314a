// kdtool: settings, texts, fonts, manual paths and the launch mode.
#include <iostream>

#include "shell/fonts.h"
#include "shell/launch_mode.h"
#include "shell/printer_choice.h"
#include "shell/range_slider.h"
#include "shell/settings_reader.h"
#include "shell/texts.h"
#include "tools/kdtool/commands.h"

namespace kdtool {

namespace {

constexpr int DEFAULT_DPI = 96;

// A whole decimal integer; false on anything else.
bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9' || j - i > 9) return false;
  }
  *value = shell::ParseLeadingInt(text);
  return true;
}

int NotANumber(Context& c, const Command& command, const std::string& arg) {
  return BadArgument(c, command, "'" + arg + "' is not a whole number");
}

shell::SettingsReader Reader(Context& c) {
  return shell::SettingsReader(c.files, c.settingsFolder, shell::SETTINGS_LINE_CHUNK, c.codePage);
}

int Setting(Context& c);
int Text(Context& c);
int Font(Context& c);
int Manual(Context& c);
int LaunchModeCommand(Context& c);
int Slider(Context& c);
int Ports(Context& c);

}  // namespace

const Command SHELL_COMMANDS[] = {
    {"setting", "FILE KEY", Setting},       {"text", "N", Text},
    {"font", "N [--dpi D]", Font},          {"manual", "PAGE TOPIC --install-path P", Manual},
    {"launch-mode", "", LaunchModeCommand}, {"slider", "MAX MIN low|high VALUE", Slider},
    {"ports", "VERSION PORT", Ports},
};
const int SHELL_COMMAND_COUNT = sizeof SHELL_COMMANDS / sizeof SHELL_COMMANDS[0];

namespace {

int Setting(Context& c) {
  if (c.args.size() != 2) return Usage(c, SHELL_COMMANDS[0]);
  c.out << Reader(c).ReadSetting(c.args[0], c.args[1]) << "\n";
  return EXIT_OK;
}

int Text(Context& c) {
  int number;
  if (c.args.size() != 1) return Usage(c, SHELL_COMMANDS[1]);
  if (!ParseInt(c.args[0], &number)) return NotANumber(c, SHELL_COMMANDS[1], c.args[0]);
  shell::SettingsReader reader = Reader(c);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  c.out << texts.GetText(number) << "\n";
  return EXIT_OK;
}

int Font(Context& c) {
  const Command& self = SHELL_COMMANDS[2];
  int number;
  int dpi = DEFAULT_DPI;
  if ((c.args.size() != 1 && c.args.size() != 3) || (c.args.size() == 3 && c.args[1] != "--dpi")) {
    return Usage(c, self);
  }
  if (!ParseInt(c.args[0], &number)) return NotANumber(c, self, c.args[0]);
  if (c.args.size() == 3 && (!ParseInt(c.args[2], &dpi) || dpi <= 0)) {
    return BadArgument(c, self, "--dpi " + c.args[2] + " is not a positive number");
  }
  shell::SettingsReader reader = Reader(c);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  auto spec = shell::ParseFontSpec(reader.ReadSetting("L_Font.ini", texts.Key(number)));
  if (!spec) {
    c.out << "base\n";
    return EXIT_OK;
  }
  ui::FontDescription font = shell::ApplyFontSpec(ui::FontDescription(), *spec, dpi);
  c.out << font.height << " " << font.weight << " " << (font.italic ? 1 : 0) << " "
        << (font.underline ? 1 : 0) << "\n";
  return EXIT_OK;
}

int Manual(Context& c) {
  int page, topic;
  if (c.args.size() != 4 || c.args[2] != "--install-path") return Usage(c, SHELL_COMMANDS[3]);
  if (!ParseInt(c.args[0], &page)) return NotANumber(c, SHELL_COMMANDS[3], c.args[0]);
  if (!ParseInt(c.args[1], &topic)) return NotANumber(c, SHELL_COMMANDS[3], c.args[1]);
  shell::SettingsReader reader = Reader(c);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  c.out << texts.ManualPath(page, topic, c.args[3]) << "\n";
  return EXIT_OK;
}

int LaunchModeCommand(Context& c) {
  if (!c.args.empty()) return Usage(c, SHELL_COMMANDS[4]);
  c.out << shell::LaunchModeName(shell::ReadLaunchMode(Reader(c))) << "\n";
  return EXIT_OK;
}

// The paper feed detail dialog's track; the values do not depend on it.
const ui::Rect SLIDER_TRACK{20, 300, 942, 340};

int Slider(Context& c) {
  int maximum, minimum, value;
  bool ok = c.args.size() == 4 && ParseInt(c.args[0], &maximum) && ParseInt(c.args[1], &minimum) &&
            (c.args[2] == "low" || c.args[2] == "high") && ParseInt(c.args[3], &value);
  shell::RangeSlider slider;
  slider.Attach(nullptr, SLIDER_TRACK);
  // A range narrower than the thumbs' distance has no position formula.
  if (!ok || !slider.SetRange(maximum, minimum)) return Usage(c, SHELL_COMMANDS[5]);
  bool low = c.args[2] == "low";
  slider.SetValue(low ? shell::SliderThumb::Low : shell::SliderThumb::High, value, false);
  c.out << (low ? slider.Low() : slider.High()) << "\n";
  return EXIT_OK;
}

// "major.minor", both whole non-negative numbers.
bool ParseVersion(const std::string& text, platform::OsVersion* version) {
  size_t dot = text.find('.');
  if (dot == std::string::npos || text[0] == '-' || text[dot + 1] == '-') return false;
  return ParseInt(text.substr(0, dot), &version->major) &&
         ParseInt(text.substr(dot + 1), &version->minor);
}

int Ports(Context& c) {
  platform::OsVersion version;
  if (c.args.size() != 2 || !ParseVersion(c.args[0], &version)) {
    return Usage(c, SHELL_COMMANDS[6]);
  }
  bool accepted = shell::IsAcceptedPort(shell::LaunchMode::Normal, version, c.args[1]);
  c.out << (accepted ? "accepted" : "refused") << "\n";
  return EXIT_OK;
}

}  // namespace

}  // namespace kdtool
