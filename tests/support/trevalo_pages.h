// Trevalo over fakes with the test printer chosen, as its printer choice leaves the program.
#pragma once

#include <functional>
#include <vector>

#include "tests/support/program_world.h"

namespace fakes {

// Texts of Trevalo's maintenance pages, added to the world's localization file as "T<N>".
void AddMaintenanceTexts(ProgramWorld& world);

// Runs Trevalo: the test printer is chosen (names, bound link, printer-change flag while the
// page is shown, as the choice sets it), the messages of the start are dropped, page
// `pageNumber` is shown, then script runs. False
// when the page could not be reached (the script did not run).
bool RunTrevaloOnPage(ProgramWorld& world, int pageNumber, bool printerChanged,
                      std::function<void(FakeView& page, shell::MainWindow& frame)> script);

}  // namespace fakes
