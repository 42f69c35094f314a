// Numbered texts, manual paths and guide texts from the settings folder.
#pragma once

#include <string>

#include "shell/settings_reader.h"

namespace shell {

enum class TextKeyStyle { Zeros00, Padded08 };  // "00%06d" and "%08d"

std::string TextKey(int number, TextKeyStyle style);

class Texts {
 public:
  Texts(const SettingsReader& reader, TextKeyStyle style) : reader_(reader), style_(style) {}

  // L_Refer.ini once, then Localize.ini, then L_Const.ini; backslash-n becomes a line feed, in
  // characters of the reader's code page (a trail byte "\" is no backslash), and half a
  // character at the end is dropped.
  std::string GetText(int number) const;
  std::string Key(int number) const { return TextKey(number, style_); }

  // installPath\value of MANUAL_<page><topic>, or empty.
  std::string ManualPath(int page, int topic, const std::string& installPath) const;
  // Whole content of guide file n (0 to 3) up to its first zero byte, or empty.
  std::string GuideText(int guide, const std::string& programDirectory) const;

  const SettingsReader& Reader() const { return reader_; }

 private:
  const SettingsReader& reader_;
  TextKeyStyle style_;
};

}  // namespace shell
