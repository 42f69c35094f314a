// The nozzle check page's table.
#include "cleaning/nozzle_check_page.h"

namespace cleaning {

const ExecutionPageData& NozzleCheckPageData() {
  static const ExecutionPageData data{
      IDD_NOZZLE_CHECK_PAGE,
      {0, 0, 600, 282},
      {
          {IDC_NOZZLE_PAGE_GROUP, {10, 65, 590, 150}, 50002},
          {IDC_NOZZLE_PAGE_EXECUTE, {60, 95, 180, 125}, 50100},
          {IDC_NOZZLE_PAGE_TEXT, {220, 91, 560, 130}, 50003},
          {IDC_NOZZLE_PAGE_CLOSE, {480, 250, 590, 272}, 50102},
          {IDC_HELP_BUTTON, {10, 250, 120, 272}, 50101},
      },
      {},
      50400,
      IDC_NOZZLE_PAGE_EXECUTE,
      IDC_NOZZLE_PAGE_CLOSE,
      NOZZLE_CHECK_MANUAL_PAGE,
      TEXT_NOZZLE_CHECK_CONFIRM,
      printer_link::NozzleCheckPageStream,
      NOZZLE_CHECK_PAGE_PAUSE_MS,
      TEXT_NOZZLE_CHECK_HANDED_OVER,
      {
          {shell::TEXT_PAGE_NOT_READY, ui::Icon::Warning, ui::Buttons::Ok},
          // The answer is not used: the preview only shows what the operator would see.
          {TEXT_NOZZLE_CHECK_CONFIRM, ui::Icon::Question, ui::Buttons::OkCancel},
          {TEXT_NOZZLE_CHECK_HANDED_OVER, ui::Icon::Information, ui::Buttons::Ok},
      },
  };
  return data;
}

}  // namespace cleaning
