// The cleaning page's table.
#include "cleaning/cleaning_page.h"

namespace cleaning {

namespace {

// Seven indented lines, an empty one, and the eighth indented the same way.
constexpr char INFORMATION_FORMAT[] =
    "\n     %s\n     %s\n     %s\n     %s\n     %s\n     %s\n     %s\n\n     %s";

}  // namespace

const ExecutionPageData& CleaningPageData() {
  static const ExecutionPageData data{
      IDD_CLEANING_PAGE,
      {0, 0, 600, 362},
      {
          {IDC_CLEANING_GROUP, {10, 10, 590, 70}, 40002},
          {IDC_CLEANING_EXECUTE, {30, 30, 150, 60}, 40101},
          {IDC_CLEANING_TEXT, {180, 30, 570, 60}, shell::NO_TEXT},
          {IDC_CLEANING_INFORMATION, {10, 80, 590, 325}, shell::NO_TEXT},
          {IDC_CLEANING_CLOSE, {480, 330, 590, 352}, 40102},
          {IDC_HELP_BUTTON, {10, 330, 120, 352}, 40100},
      },
      {
          {IDC_CLEANING_TEXT, "%s", {40003}},
          {IDC_CLEANING_INFORMATION,
           INFORMATION_FORMAT,
           {40004, 40005, 40006, 40007, 40008, 40014, 40015, 40016}},
      },
      40400,
      IDC_CLEANING_EXECUTE,
      IDC_CLEANING_CLOSE,
      CLEANING_MANUAL_PAGE,
      shell::NO_TEXT,
      printer_link::CleaningPageStream,
      0,
      TEXT_CLEANING_HANDED_OVER,
      {
          {shell::TEXT_PAGE_NOT_READY, ui::Icon::Warning, ui::Buttons::Ok},
          {TEXT_CLEANING_HANDED_OVER, ui::Icon::Information, ui::Buttons::Ok},
      },
  };
  return data;
}

}  // namespace cleaning
