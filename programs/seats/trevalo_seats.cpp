// Trevalo's seats over the application object.
#include "programs/seats/trevalo_seats.h"

#include "feed/ink_configuration.h"
#include "feed/paper_feed_detail.h"
#include "feed/paper_setting_data.h"
#include "feed/paper_setting_dialog.h"
#include "feed/pellan_detail.h"

namespace programs {

int AppAdjustmentSeat::ReadInkClass() {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadInkClass(channel, app_.PrinterName());
}

int AppAdjustmentSeat::RunDetail(int adjustmentKind, feed::AdjustmentSelection& selection,
                                 ui::View* parent) {
  switch (adjustmentKind) {
    case feed::ADJUST_PAPER_FEED: {
      feed::PaperFeedDetail dialog(details_, selection);
      return app_.Host().RunModal(IDD_PAPER_FEED_DETAIL, parent, dialog);
    }
    case feed::ADJUST_PELLAN: {
      feed::PellanDetail dialog(details_, selection);
      return app_.Host().RunModal(IDD_PELLAN_DETAIL, parent, dialog);
    }
    default:
      return -1;
  }
}

std::string AppDetailSeat::ReadAdjustValue(const feed::AdjustmentSelection& selection,
                                           int valueKind) {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadAdjustValue(channel, app_.Settings(), app_.PrinterName(), selection, valueKind);
}

int AppDetailSeat::WriteAdjustValue(const feed::AdjustmentSelection& selection, int value,
                                    const std::string& valueString, int valueKind) {
  return feed::WriteAdjustValue(app_.Spooler(), app_.Settings(), app_.PrinterName(), selection,
                                value, valueString, valueKind);
}

int AppSamplePrintSeat::RunPaperSetting(const feed::AdjustmentSelection& selection,
                                        ui::View* parent) {
  return feed::RunPaperSetting(app_.Host(), dialogs_, driverSettings_, app_.PrinterName(),
                               selection, parent);
}

}  // namespace programs
