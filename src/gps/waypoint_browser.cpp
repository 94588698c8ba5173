#include "gps/waypoint_browser.hpp"

#include <algorithm>
#include <optional>

#include "base/text.hpp"
#include "gps/capture_dialog.hpp"
#include "gps/settings_form.hpp"
#include "gps/waypoint_table.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr const char* kCaption = "Select Waypoint to Edit";
constexpr int kWidth = 224, kLabelWidth = 32, kFieldX = 48;

void addButtons(ui::Form& f, int row, std::initializer_list<std::pair<int, const char*>> buttons) {
  const int n = static_cast<int>(buttons.size());
  const int gap = 4, w = (kWidth - 2 * sf::kMargin - (n - 1) * gap) / n;
  int x = sf::kMargin;
  for (const auto& [id, text] : buttons) {
    f.controls.push_back({id, ui::ControlKind::Button, text, {x, sf::rowY(row), w, sf::kButtonHeight}});
    x += w + gap;
  }
}

ui::Form browserForm() {
  ui::Form f;
  f.resource = kWaypointBrowser;
  f.caption = kCaption;
  f.size = {0, 0, kWidth, sf::rowY(7) + sf::kButtonHeight + sf::kMargin};
  const int fieldWidth = kWidth - kFieldX - sf::kMargin;
  f.controls.push_back({kBrowserRecordText, ui::ControlKind::Static, "", {sf::kMargin, sf::rowY(0), 120, 10}});
  const std::pair<int, const char*> rows[] = {
      {kBrowserNameText, "Name:"}, {kBrowserLatitudeText, "Lat:"}, {kBrowserLongitudeText, "Lon:"}};
  for (int i = 0; i < 3; ++i) {
    f.controls.push_back(sf::label(rows[i].first + 20, rows[i].second, i + 1, kLabelWidth));
    f.controls.push_back({rows[i].first, ui::ControlKind::Static, "", {kFieldX, sf::rowY(i + 1), fieldWidth, 10}});
  }
  addButtons(f, 4, {{kFirstWaypointButton, "F&irst"}, {kPreviousWaypointButton, "<- &Prev"},
                    {kNextWaypointButton, "&Next ->"}, {kLastWaypointButton, "&Last"}});
  addButtons(f, 5, {{kAddWaypointButton, "&Add New"}, {kEditWaypointButton, "&Edit Record"},
                    {kDeleteWaypointButton, "&Delete"}});
  const int w = sf::kButtonWidth, left = (kWidth - 2 * w - sf::kMargin) / 2, y = sf::rowY(7);
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "&Finished", {left, y, w, sf::kButtonHeight}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {left + w + sf::kMargin, y, w, sf::kButtonHeight}));
  f.firstFocus = ui::kIdOkButton;
  return f;
}

class BrowserController : public ui::FormController {
 public:
  BrowserController(ui::Host& host, GpsState& gps, WaypointTable& table, bool created, const CaptureSetup& capture)
      : host_(host), gps_(gps), table_(table), created_(created), capture_(capture) {}

  // Set when Delete on an empty table asked for the file to go.
  bool removeFile() const { return removeFile_; }
  // The table was made here and has not had a record since.
  bool created() const { return created_; }

  void onInit(ui::FormView& view) override {
    if (table_.count() > 0) (void)goTo(1);
    show(view);
  }

  void onCommand(ui::FormView& view, int id) override {
    const int count = table_.count();
    switch (id) {
      case kFirstWaypointButton: return move(view, 1);
      case kLastWaypointButton: return move(view, count);
      case kPreviousWaypointButton: return move(view, current_ - 1);
      case kNextWaypointButton: return move(view, current_ + 1);
      case kAddWaypointButton: return add(view);
      case kEditWaypointButton: return edit(view);
      case kDeleteWaypointButton: return remove(view);
      case ui::kIdOkButton:
      case ui::kIdCancelButton: return view.end(id == ui::kIdOkButton ? 1 : 0);
      default: return;
    }
  }

 private:
  void move(ui::FormView& view, int n) {
    const int count = table_.count();
    if (count == 0) return;
    n = std::clamp(n, 1, count);
    if (n != current_ && goTo(n)) show(view);
  }

  // Reads record n into the shown record; false after "Can't Read WayPoint file".
  bool goTo(int n) {
    WaypointRecord r;
    if (!table_.read(n, r)) {
      ui::inform(host_, "Can't Read WayPoint file", "File Read Error");
      return false;
    }
    current_ = n;
    record_ = std::move(r);
    return true;
  }

  void show(ui::FormView& view) {
    const int count = table_.count();
    view.setText(kBrowserRecordText, base::format("Waypoint:%d of %d", count > 0 ? current_ : 0, count));
    if (count == 0) record_ = {};
    view.setText(kBrowserNameText, platform::toWide(base::trimRight(record_.name)));
    view.setText(kBrowserLatitudeText, base::format("%14.8f", record_.latitude));
    view.setText(kBrowserLongitudeText, base::format("%14.8f", record_.longitude));
  }

  void writeFailed() { ui::inform(host_, "Can't Write to WayPoint file", "File Write Error"); }

  // A new waypoint starts at the current fix when there is one.
  WaypointRecord fresh() {
    WaypointRecord w;
    if (!capture_.gpsEnabled) return w;
    gps_.withLock([&w](GpsData& d) {
      if (!d.position.valid) return;
      w.latitude = d.position.latitude;
      w.longitude = d.position.longitude;
    });
    return w;
  }

  void appendNew(ui::FormView& view, WaypointRecord w) {
    if (captureWaypoint(host_, gps_, capture_, w) != 1) return;
    if (!table_.append(w)) return writeFailed();
    created_ = false;
    current_ = table_.count();
    record_ = std::move(w);
    show(view);
  }

  void add(ui::FormView& view) { appendNew(view, fresh()); }

  void edit(ui::FormView& view) {
    if (table_.count() == 0) return appendNew(view, fresh());
    WaypointRecord w;
    if (!table_.read(current_, w)) {
      ui::inform(host_, "Can't Read WayPoint file", "File Read Error");
      return;
    }
    if (captureWaypoint(host_, gps_, capture_, w) != 1) return;
    if (!table_.overwrite(current_, w)) return writeFailed();
    record_ = std::move(w);
    show(view);
  }

  void remove(ui::FormView& view) {
    host_.beep();
    if (host_.messageBox("Delete This Record ?", kCaption, ui::kMbYesNo | ui::kMbIconWarning | ui::kMbTopmost) !=
        ui::kIdYes)
      return;
    const int count = table_.count();
    if (count == 0) {
      removeFile_ = true;
      return view.end(0);
    }
    if (count == 1) {
      // The last waypoint is blanked rather than removed.
      const WaypointRecord blank;
      if (!table_.overwrite(1, blank)) return writeFailed();
      current_ = 1;
      record_ = blank;
      return show(view);
    }
    const bool removed = table_.remove(current_);
    if (!removed) writeFailed();
    // The record before becomes current; after the first, the new first.
    const int n = std::clamp(removed ? current_ - 1 : current_, 1, table_.count());
    current_ = 0;
    if (goTo(n)) show(view);
  }

  ui::Host& host_;
  GpsState& gps_;
  WaypointTable& table_;
  bool created_;
  const CaptureSetup& capture_;
  bool removeFile_ = false;
  int current_ = 0;
  WaypointRecord record_;
};

}  // namespace

int editWaypoints(ui::Host& host, const std::string& settingsFolder, char sep, bool gpsEnabled, GpsState& gps,
                  const std::function<void()>& redraw) {
  const std::string path = waypointTablePath(settingsFolder, sep);
  WaypointTable table;
  const WaypointTable::Opened opened = table.open(path);
  if (opened == WaypointTable::Opened::kFailed) {
    ui::inform(host, "Can't Open/Create WayPoint file", "File Open Error");
    return 0;
  }
  CaptureSetup capture;
  capture.mode = CaptureMode::kBrowser;
  capture.gpsEnabled = gpsEnabled;
  capture.redraw = redraw;
  BrowserController controller(host, gps, table, opened == WaypointTable::Opened::kCreated, capture);
  (void)host.runForm(browserForm(), controller);
  const bool empty = table.count() == 0;
  (void)table.close();
  if (controller.removeFile() || controller.created() || empty) (void)platform::deleteFile(path);
  if (redraw) redraw();
  return 1;
}

}  // namespace gps
