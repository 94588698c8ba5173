#include "gps/receiver.hpp"

#include "gps/coordinate_text.hpp"
#include "gps/display_texts.hpp"
#include "gps/parms.hpp"
#include "gps/port_dialog.hpp"
#include "gps/reader_shared.hpp"
#include "serial/port_layer.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

// The port layer's flow kind from the line-control flag word the port
// settings keep.
int portFlowOf(std::uint32_t flags) {
  switch (flowOf(flags)) {
    case kFlowRtsCts: return platform::kFlowRtsCts;
    case kFlowXonXoff: return platform::kFlowXonXoff;
    default: return platform::kFlowNone;
  }
}

}  // namespace

Receiver::Receiver(serial::PortLayer& ports, ReceiverServices services)
    : ports_(ports), services_(std::move(services)), shared_(std::make_shared<ReaderShared>(services_)) {
  shared_->owner = this;
  shared_->state.withLock([this](GpsData& d) {
    d.position.latitude = kDefaultLatitude;
    d.position.longitude = kDefaultLongitude;
    d.position.heightEllipsoid = d.position.altitudeMsl = kDefaultHeight;
    resetSpeedTexts(d);
  });
}

Receiver::~Receiver() {
  shared_->owner = nullptr;
  disconnectGps();
}

GpsState& Receiver::state() { return shared_->state; }
const GpsState& Receiver::state() const { return shared_->state; }
bool Receiver::enabled() const { return openPort_ >= 0 && shared_->enabled; }
bool Receiver::detected() const { return enabled() && shared_->detected; }

std::string Receiver::clockNote() const {
  std::lock_guard<std::mutex> hold(shared_->noteLock);
  return shared_->clockNote;
}

int Receiver::connectGps() {
  if (openPort_ >= 0) disconnectGps();
  shared_->state.withLock([](GpsData& d) { d.position.valid = 0; });
  ui::Host* host = services_.host;
  int portRead = 0;
  GpsParms parms;
  if (host != nullptr) {
    portRead = readGpsPort(*host, services_.installRoot, port_, services_.sep);
    (void)readGpsParms(*host, services_.installRoot, parms, services_.sep);
  }
  shared_->state.withLock([&](GpsData& d) {
    d.parms = parms;
    resetSpeedTexts(d);
  });
  if (portRead < 0) {
    // No port settings yet: the defaults are written, the port is left
    // closed until the crew has chosen it.
    if (host != nullptr) (void)host->messageBox(kPortOpenFailedText, "", ui::kMbOk | ui::kMbTopmost);
    return 0;
  }
  return openGpsPort(false);
}

int Receiver::openGpsPort(bool quiet) {
  shared_->protocol = port_.protocolIndex() == kProtocolTsip ? kProtocolTsip : kProtocolNmea;
  const std::int32_t timeout = port_.detectionTimeout();
  shared_->timeoutMs = timeout > 0 ? static_cast<std::uint32_t>(timeout) : kDefaultDetectionTimeout;
  std::shared_ptr<ReaderShared> shared = shared_;
  ports_.setGpsReader([shared](serial::ReaderContext& context) { runGpsReader(shared, context); });
  shared_->enabled = true;
  const int port = port_.portNumber();
  const int opened = ports_.Port_Open(port, port_.baud(), port_.parityLetter(), 8, 1, 13, portFlowOf(port_.lineFlags()),
                                      serial::kClassGps);
  if (opened != 1) {
    shared_->enabled = false;
    bool wasActive = false;
    shared_->state.withLock([&](GpsData& d) {
      wasActive = d.active;
      d.active = false;
    });
    if (wasActive) playGpsSound(*shared_, kInactiveSound);
    if (!quiet && services_.host != nullptr)
      (void)services_.host->messageBox(kPortOpenFailedText, "", ui::kMbOk | ui::kMbTopmost);
    return 0;
  }
  openPort_ = port;
  return 1;
}

void Receiver::disconnectGps() {
  if (openPort_ >= 0) (void)ports_.closePort(openPort_);
  openPort_ = -1;
  shared_->enabled = false;
  shared_->detected = false;
  shared_->state.withLock([](GpsData& d) { d.active = false; });
}

void Receiver::reconnectNow() {
  if (openPort_ < 0) return;  // disconnected meanwhile
  (void)ports_.closePort(openPort_);
  openPort_ = -1;
  (void)openGpsPort(true);
}

void Receiver::reloadParms() {
  GpsParms parms;
  if (services_.host != nullptr) (void)readGpsParms(*services_.host, services_.installRoot, parms, services_.sep);
  shared_->state.withLock([&](GpsData& d) {
    d.parms = parms;
    formatPosition(d.position, d.parms);
    // The speed kept is in the old unit: it starts again from 0 in the new one.
    resetSpeedTexts(d);
  });
}

void Receiver::resetState() {
  shared_->state.withLock([](GpsData& d) {
    d.received = Received{};
    d.position.valid = 0;
    d.position.latitudeText.clear();
    d.position.longitudeText.clear();
    d.position.elevationText.clear();
  });
}

}  // namespace gps
