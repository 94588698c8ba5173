#include "shell/host_address_dialog.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "transfer/host_address.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

constexpr const char* kCaption = "Tallyfin Host IP Address";
constexpr int kOctets[4] = {kHostOctet1, kHostOctet2, kHostOctet3, kHostOctet4};

// A decimal number of one to five digits within [low, high], or -1.
long numberIn(const std::string& text, long low, long high) {
  if (text.empty() || text.size() > 5) return -1;
  long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v >= low && v <= high ? v : -1;
}

ui::Control edit(int id, int x, int y, int width, int limit) {
  ui::Control c{id, ui::ControlKind::Edit, "", {x, y, width, 12}};
  c.limit = limit;
  c.numberOnly = true;
  return c;
}

ui::Control centred(int id, const char* text, int y) {
  ui::Control c{id, ui::ControlKind::Static, text, {8, y, 184, 10}};
  c.centred = true;
  return c;
}

class HostAddressController : public ui::FormController {
 public:
  HostAddressController(ui::Host& host, StartupValues& values) : host_(host), values_(values) {}

  void onInit(ui::FormView& view) override {
    std::array<std::string, 4> octets{"10", "1", "1", "1"};
    std::string port = "50000";
    transfer::HostAddress stored;
    if (transfer::readHostAddress(values_.installRoot, stored) == transfer::HostAddressRead::kOk) {
      const std::uint32_t a = stored.ipv4;
      for (int i = 0; i < 4; ++i) octets[static_cast<std::size_t>(i)] = std::to_string((a >> (24 - 8 * i)) & 0xFF);
      port = std::to_string(stored.portNumber);
    }
    for (int i = 0; i < 4; ++i) view.setText(kOctets[i], octets[static_cast<std::size_t>(i)]);
    view.setText(kHostPort, port);
    view.setChecked(kArchiveAfterTransferCheck, values_.settings.archiveAfterTransfer() != 0);
    view.setChecked(kRequestUpdateCheck, values_.settings.requestProgramUpdate() != 0);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != kHostSaveButton) return;
    std::array<std::string, 4> octets;
    for (int i = 0; i < 4; ++i) octets[static_cast<std::size_t>(i)] = base::trimRight(base::trimLeft(view.text(kOctets[i])));
    const HostAddressFields fields = hostAddressFromFields(octets, base::trimRight(base::trimLeft(view.text(kHostPort))));
    if (!fields.error.empty()) {
      ui::inform(host_, fields.error, kCaption);
      return;
    }
    if (transfer::writeHostAddress(values_.installRoot, fields.address, fields.port) != 0) {
      const std::string file = base::joinPath(values_.installRoot, transfer::kHostAddressFileName, platform::kSep);
      ui::inform(host_, "Can't write:" + file, "Save Error");
      return;
    }
    values_.settings.setArchiveAfterTransfer(view.checked(kArchiveAfterTransferCheck) ? 1 : 0);
    values_.settings.setRequestProgramUpdate(view.checked(kRequestUpdateCheck) ? 1 : 0);
    (void)saveTransferSettings(host_, values_);
    view.end(1);
  }

 private:
  ui::Host& host_;
  StartupValues& values_;
};

}  // namespace

HostAddressFields hostAddressFromFields(const std::array<std::string, 4>& octets, const std::string& port) {
  HostAddressFields out;
  std::string address;
  for (const std::string& o : octets) {
    const long v = numberIn(o, 0, 255);
    if (v < 0) {
      out.error = kBadOctetText;
      return out;
    }
    address += (address.empty() ? "" : ".") + std::to_string(v);
  }
  const long p = numberIn(port, 1, 65535);
  if (p < 0) {
    out.error = kBadPortText;
    return out;
  }
  out.address = address;
  out.port = std::to_string(p);
  return out;
}

ui::Form hostAddressForm() {
  ui::Form f;
  f.resource = kHostAddressDialog;
  f.caption = kCaption;
  f.size = {0, 0, 200, 122};
  f.controls = {centred(1028, "Set Tallyfin Host IP Address", 6), centred(1029, "Example 10.1.1.200", 18)};
  // Four octet fields with a dot between each two.
  for (int i = 0; i < 4; ++i) {
    const int x = 40 + i * 32;
    f.controls.push_back(edit(kOctets[i], x, 30, 24, 3));
    if (i < 3) f.controls.push_back({1030 + i, ui::ControlKind::Static, ".", {x + 26, 30, 4, 10}});
  }
  f.controls.push_back({1033, ui::ControlKind::Static, "Port Number (50000 or Greater)", {8, 48, 124, 10}});
  f.controls.push_back(edit(kHostPort, 136, 46, 32, 5));
  f.controls.push_back({kArchiveAfterTransferCheck, ui::ControlKind::CheckBox, "Archive Datasets After Transfer",
                        {8, 64, 184, 12}});
  f.controls.push_back({kRequestUpdateCheck, ui::ControlKind::CheckBox, "Request Program Update if Available",
                        {8, 80, 184, 12}});
  f.controls.push_back(ui::defaultButton(kHostSaveButton, "&Save", {40, 100, 50, 14}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {110, 100, 50, 14}));
  f.firstFocus = kHostOctet1;
  return f;
}

int hostAddressDialog(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  HostAddressController controller(host, values);
  return host.runForm(hostAddressForm(), controller);
}

}  // namespace shell
