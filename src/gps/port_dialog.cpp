#include "gps/port_dialog.hpp"

#include <algorithm>
#include <vector>

#include "base/text.hpp"
#include "gps/settings_form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr int kPorts = 30;  // "COM0:" to "COM29:"
const std::vector<std::string>& baudTexts() {
  static const std::vector<std::string> t = {"115200", "57600", "38400", "19200", "9600",
                                             "4800",   "2400",  "1200",  "300"};
  return t;
}
const std::vector<std::string> kParityTexts = {"None", "Odd", "Even", "Mark", "Space"};
const std::vector<std::string> kFlowTexts = {"None", "RTS/CTS", "XON/XOFF"};
const std::vector<std::string> kProtocolTexts = {"TSIP", "NMEA"};

std::vector<std::string> portTexts() {
  std::vector<std::string> t;
  for (int i = 0; i < kPorts; ++i) t.push_back(base::format("COM%d:", i));
  return t;
}

// The number inside a port name ("COM12:" gives 12); -1 without one.
int portNumberOf(const std::string& name) {
  auto first = std::find_if(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (first == name.end()) return -1;
  int n = 0;
  for (auto it = first; it != name.end() && *it >= '0' && *it <= '9' && n < 100000; ++it) n = n * 10 + (*it - '0');
  return n;
}

constexpr int kWidth = 132, kLabelWidth = 40, kFieldX = 52, kFieldWidth = 72;

ui::Form portForm() {
  ui::Form f;
  f.resource = kPortDialog;
  f.caption = "GPS Comm Port Settings";
  f.size = {0, 0, kWidth, 104};
  const struct {
    int id;
    const char* text;
    int items;
  } rows[] = {{kPortList, "Port:", kPorts},
              {kBaudList, "Baud:", static_cast<int>(baudTexts().size())},
              {kParityList, "Parity:", 5},
              {kFlowList, "Flow:", 3},
              {kProtocolList, "Protocol:", 2}};
  int row = 0;
  for (const auto& r : rows) {
    f.controls.push_back(sf::label(r.id + 10, r.text, row, kLabelWidth));
    f.controls.push_back(sf::dropDown(r.id, row, kFieldX, kFieldWidth, r.items));
    ++row;
  }
  sf::addOkCancel(f, kWidth, 84);
  f.firstFocus = kPortList;
  return f;
}

class PortController : public ui::FormController {
 public:
  explicit PortController(GpsPortImage& work) : work_(work) {}

  void onInit(ui::FormView& view) override {
    const std::vector<std::string> ports = portTexts();
    view.setItems(kPortList, ports);
    view.setSelection(kPortList, sf::indexOf(ports, work_.portName()));
    view.setItems(kBaudList, baudTexts());
    view.setSelection(kBaudList, sf::indexOf(baudTexts(), std::to_string(work_.baud())));
    view.setItems(kParityList, kParityTexts);
    const int parity = work_.parityIndex();
    view.setSelection(kParityList, parity < static_cast<int>(kParityTexts.size()) ? parity : 0);
    view.setItems(kFlowList, kFlowTexts);
    view.setSelection(kFlowList, flowOf(work_.lineFlags()));
    view.setItems(kProtocolList, kProtocolTexts);
    view.setSelection(kProtocolList, work_.protocolIndex() == kProtocolTsip ? 0 : 1);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    // A list left without a choice (a stored value the lists do not offer)
    // keeps what the file had.
    const std::string port = chosen(view, kPortList);
    if (!port.empty()) {
      work_.setPortName(port);
      work_.setPortNumber(portNumberOf(port));
    }
    const std::string baud = chosen(view, kBaudList);
    if (!baud.empty()) work_.setBaud(static_cast<std::uint32_t>(std::stoul(baud)));
    if (const int parity = view.selection(kParityList); parity >= 0) work_.setParityIndex(parity);
    if (const int flow = view.selection(kFlowList); flow >= 0) work_.setLineFlags(lineFlagsFor(flow));
    const std::string protocol = chosen(view, kProtocolList);
    if (!protocol.empty()) work_.setProtocol(protocol.rfind("NMEA", 0) == 0 ? kProtocolNmea : kProtocolTsip);
    work_.setU8(GpsPortImage::kByteSize, 8);
    work_.setU8(GpsPortImage::kStopBitsIndex, 0);
    work_.setDetected(false);
    view.end(1);
  }

 private:
  static std::string chosen(const ui::FormView& view, int id) {
    const std::vector<std::string> items = view.items(id);
    const int i = view.selection(id);
    return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(i)] : std::string();
  }
  GpsPortImage& work_;
};

}  // namespace

std::uint32_t lineFlagsFor(int flow) {
  std::uint32_t f = kDefaultLineFlags & ~kRtsControlMask;
  switch (flow) {
    case kFlowRtsCts: return f | kFlowCtsOut | kRtsHandshake;
    case kFlowXonXoff: return f | kRtsOn | kFlowXonXoffOut | kFlowXonXoffIn;
    default: return f | kRtsOn;
  }
}

int flowOf(std::uint32_t lineFlags) {
  if (lineFlags & (kFlowXonXoffOut | kFlowXonXoffIn)) return kFlowXonXoff;
  if ((lineFlags & kFlowCtsOut) || (lineFlags & kRtsControlMask) == kRtsHandshake) return kFlowRtsCts;
  return kFlowNone;
}

int portSettingsDialog(ui::Host& host, const std::string& installRoot, char sep, GpsPortImage& image) {
  GpsPortImage work = image;
  (void)readGpsPort(host, installRoot, work, sep);
  PortController controller(work);
  if (host.runForm(portForm(), controller) != 1) return 0;
  // The settings are the dialog's; the running state stays the image's own.
  std::copy(work.bytes().begin() + GpsPortImage::kRunTimeEnd, work.bytes().end(),
            image.bytes().begin() + GpsPortImage::kRunTimeEnd);
  (void)writeGpsPort(host, installRoot, image, sep);
  return 1;
}

}  // namespace gps
