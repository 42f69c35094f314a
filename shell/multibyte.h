// Walking texts and paths of the system's multibyte code page character by character, so that a
// rule meant for one byte ("\", "n", a digit, a cut) never meets the trail byte of a double-byte
// character: in Shift-JIS the trail bytes of 表 and ソ are "\", those of ー and ゾ "[" and "]".
#pragma once

#include <cstddef>
#include <string>

#include "platform/code_page.h"

namespace shell {

// Bytes of the character at text[0] of left bytes: 2 for a lead byte with a byte after it, else 1
// (a lead byte at the very end or before a zero byte stands alone). left must be at least 1.
size_t CharacterLength(const platform::CodePage& codePage, const char* text, size_t left);

// The longest prefix of text[0, length) of at most limit bytes that does not end inside a
// character; a first character longer than limit is cut all the same, so that a reader moves on.
size_t CharacterPrefix(const platform::CodePage& codePage, const char* text, size_t length,
                       size_t limit);

// text without a lead byte standing alone at its end: what can be shown of a cut text.
std::string WithoutCutCharacter(const platform::CodePage& codePage, const std::string& text);

// Position of the last "\" that is a character of its own, or npos.
size_t LastBackslash(const platform::CodePage& codePage, const std::string& path);

// path up to, not including, its last backslash; empty without one.
std::string DirectoryOf(const platform::CodePage& codePage, const std::string& path);

// What follows the last backslash; the whole path without one.
std::string FileNameOf(const platform::CodePage& codePage, const std::string& path);

}  // namespace shell
