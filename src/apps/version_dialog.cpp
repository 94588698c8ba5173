#include "apps/version_dialog.hpp"

#include "apps/tfa_header.hpp"
#include "apps/versions.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "ui/host.hpp"

namespace apps {

namespace {

constexpr const char* kRowLabels[] = {"Application:", "Version:", "Date:", "Build:", "Structure Version:",
                                      "Structure Date:"};
constexpr int kRows = 6;

const std::string& rowText(const VersionTexts& t, int row) {
  const std::string* rows[kRows] = {&t.name, &t.version, &t.date, &t.build, &t.structure, &t.structureDate};
  return *rows[row];
}

ui::Control label(int id, const std::string& text, int x, int y, int width) {
  return ui::Control{id, ui::ControlKind::Static, text, {x, y, width, 10}};
}

class ShowController : public ui::FormController {};

}  // namespace

VersionTexts versionTexts(const TfaHeader& header) {
  VersionTexts t;
  t.name = platform::toWide(header.appName());
  if (!header.hasVersion()) return t;
  t.version = base::format("%03d.%03d", header.appVMajor(), header.appVMinor());
  t.date = platform::toWide(header.appDate());
  t.build = std::to_string(header.appBuild());
  t.structure = std::to_string(header.hierVer());
  t.structureDate = platform::toWide(header.hierDate());
  return t;
}

ui::Form versionForm(const TfaHeader& header) {
  const VersionTexts t = versionTexts(header);
  ui::Form f;
  f.resource = kVersionDialog;
  f.caption = "Application Version";
  f.size = {0, 0, 220, 100};
  for (int r = 0; r < kRows; ++r) {
    f.controls.push_back(label(1380 + r, kRowLabels[r], 8, 8 + 12 * r, 76));
    f.controls.push_back(label(kVersionValue + r, rowText(t, r), 88, 8 + 12 * r, 124));
  }
  ui::Control ok{ui::kIdOkButton, ui::ControlKind::Button, "OK", {85, 80, 50, 14}};
  ok.defaultButton = true;
  ok.cancelButton = true;
  f.controls.push_back(ok);
  return f;
}

ui::Form sideBySideForm(const TfaHeader& current, const TfaHeader& pending) {
  const VersionTexts c = versionTexts(current), p = versionTexts(pending);
  ui::Form f;
  f.resource = kSideBySideDialog;
  f.caption = "Pending Application";
  f.size = {0, 0, 320, 116};
  f.controls.push_back(label(2950, "Current Application", 88, 6, 112));
  f.controls.push_back(label(2951, "Pending Application", 204, 6, 112));
  for (int r = 0; r < kRows; ++r) {
    const int y = 20 + 12 * r;
    f.controls.push_back(label(2952 + r, kRowLabels[r], 8, y, 76));
    f.controls.push_back(label(kCurrentValue + r, rowText(c, r), 88, y, 112));
    f.controls.push_back(label(kPendingValue + r, rowText(p, r), 204, y, 112));
  }
  ui::Control ok{ui::kIdOkButton, ui::ControlKind::Button, "OK", {100, 96, 50, 14}};
  ok.defaultButton = true;
  ui::Control cancel{ui::kIdCancelButton, ui::ControlKind::Button, "Cancel", {170, 96, 50, 14}};
  cancel.cancelButton = true;
  f.controls.push_back(ok);
  f.controls.push_back(cancel);
  return f;
}

bool showApplicationVersion(ui::Host& host, const std::string& appFolder, const std::string& packagePath,
                            char sep) {
  TfaHeader header;
  bool have = readPackageHeader(headerCopyPath(appFolder, sep), header) == kHeaderOk ||
              readPackageHeader(packagePath, header) == kHeaderOk;
  if (!have || !header.hasVersion()) {
    ui::inform(host, "No Application Version\nData Available", "Error!");
    return false;
  }
  ShowController controller;
  host.runForm(versionForm(header), controller);
  return true;
}

bool confirmPendingVersion(ui::Host& host, const TfaHeader& current, const TfaHeader& pending) {
  if (!pending.hasVersion()) ui::inform(host, "No Application Version\nData Available for Pending App", "Error!");
  ShowController controller;
  if (host.runForm(sideBySideForm(current, pending), controller) == 1) return true;
  ui::inform(host, "Pending Application Version Operation Canceled", "Pending App Aborted");
  return false;
}

}  // namespace apps
