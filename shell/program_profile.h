// What distinguishes the three programs where the shared shell code decides: data, filled in by
// each program's tables.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "shell/texts.h"

namespace shell {

struct PageEntry {
  int number;
  int templateId;  // 0 = no page behind the entry
  int nameText;
  int descriptionText;
};

// How the printer list starts when it is filled.
enum class PrinterListStart {
  RememberedElseNoPrinter,  // the remembered printer, else the no-printer entry
  AlwaysNoPrinter,          // the no-printer entry, nothing remembered
  RememberedElseNothing,    // the remembered printer, else no selection; no no-printer entry
};

// Where the main window stands after a page switch resized it.
enum class Placement { Centred, KeepTopLeft };

// What the frame does with the page selector at a page switch to a page other than 0.
enum class SelectorShown { Never, OnToolPages };

struct AboutProfile {
  int templateId;
  std::array<int, 3> labels;  // title, version, body
  std::array<ui::Rect, 3> rects;
  std::array<int, 3> texts;  // the version label's text is the second
  int picture;
  int commandFirst;  // system menu command ids that open it
  int commandLast;
  int menuText;
};

struct HeaderProfile {
  ui::Rect title;
  ui::Rect secondLine;  // empty: none
  ui::Rect description;
  int secondLineText;  // NO_TEXT: none
  int titleShift;      // added to the title's left edge while a tool page shows its icon
  int otherShift;      // added to the other lines' left edges then
  bool titleOnPageZero;
};

struct BusyProfile {
  int messageText;
  int cancelText;
  int noCancelMessageText;  // NO_TEXT: the message stays
  bool whiteBackground;
  bool cancelHides;  // Cancel hides the dialog at once rather than at Stop
};

struct ProgramProfile {
  std::string name;  // caption of the missing-file box
  int titleText;     // program title: caption of message boxes
  // The subkey of the chosen model's registry key that holds the program's own values.
  std::string optionsSubkey;
  int sharedObjectsFailedText;
  std::vector<std::string> requiredFiles;  // in the order they are checked
  size_t lineChunk;
  TextKeyStyle keyStyle;
  int startPage;
  std::vector<PageEntry> pages;

  // Main window.
  bool printerListInFrame;  // false: a page holds the list
  int printerLabelText;
  PrinterListStart listStart;
  bool checksPorts;            // only queues on accepted ports are listed
  bool remembersPrinter;       // the choice is kept in the registry
  bool refreshesOnChoice;      // an accepted choice refreshes the page (else enables its actions)
  bool refreshesOnPageSwitch;  // a page switch asks the page to refresh
  int noRegisteredPrinterText;
  int pageFailedText;
  int manualFailedText;
  int closeConfirmText;
  ui::Rect selectorRect;
  SelectorShown selectorShown;
  Placement placement;
  bool captionNamesPrinter;  // " - " and the printer name after the title on tool pages
  HeaderProfile header;
  AboutProfile about;
  BusyProfile busy;
};

// The settings files every program needs, in the order they are checked.
std::vector<std::string> CommonRequiredFiles();

}  // namespace shell
