// Trevalo's cleaning page: one "Execution" button that makes the printer clean its head.
#pragma once

#include "cleaning/cleaning_page_ids.h"
#include "cleaning/execution_page.h"

namespace cleaning {

constexpr int TEXT_CLEANING_HANDED_OVER = 40300;
constexpr int CLEANING_MANUAL_PAGE = 2;

const ExecutionPageData& CleaningPageData();

class CleaningPage : public ExecutionPage {
 public:
  CleaningPage(shell::ToolSeat& seat, shell::PageHost& host)
      : ExecutionPage(seat, host, CleaningPageData()) {}
};

}  // namespace cleaning
