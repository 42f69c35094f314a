// Trevalo's nozzle check page: one "Execution" button, asked first, that prints the pattern.
#pragma once

#include "cleaning/execution_page.h"
#include "cleaning/nozzle_check_page_ids.h"

namespace cleaning {

constexpr int TEXT_NOZZLE_CHECK_CONFIRM = 50300;
constexpr int TEXT_NOZZLE_CHECK_HANDED_OVER = 50303;
constexpr int NOZZLE_CHECK_MANUAL_PAGE = 3;
// The printer needs this long after the job before the operator is told it was handed over.
constexpr uint32_t NOZZLE_CHECK_PAGE_PAUSE_MS = 3000;

const ExecutionPageData& NozzleCheckPageData();

class NozzleCheckPage : public ExecutionPage {
 public:
  NozzleCheckPage(shell::ToolSeat& seat, shell::PageHost& host)
      : ExecutionPage(seat, host, NozzleCheckPageData()) {}
};

}  // namespace cleaning
