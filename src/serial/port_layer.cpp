#include "serial/port_layer.hpp"

#include <chrono>
#include <thread>

#include "platform/clock.hpp"
#include "platform/errors.hpp"
#include "serial/port_instance.hpp"
#include "serial/port_messages.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"

namespace serial {

namespace {

constexpr int kOpenRetries = 10;
constexpr std::uint32_t kOpenRetryMs = 100;
constexpr std::uint32_t kReadPollMs = 10;
// How long closing waits for a reader to end (real time: readers run on it).
constexpr std::chrono::milliseconds kStopWait{1000};
// What is still queued when a port closes (a printer's last line) gets as
// long as one write may take to go out.
constexpr std::chrono::milliseconds kDrainWait{1500};

// Waits (real time: the reader sends on real time) until the reader has sent
// what is queued, or the wait limit passed (a device that hangs or stalls).
void drainSend(const PortChannel& channel) {
  const auto until = std::chrono::steady_clock::now() + kDrainWait;
  while (channel.pendingSend() != 0 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
constexpr std::size_t kGpsIndex = kGeneralInstances;

platform::SerialSettings settingsFor(std::uint32_t baud, char parity, int dataBits, int stopBits, int flow) {
  platform::SerialSettings s;
  s.baud = baud;
  switch (parity) {
    case 'E':
    case 'O':
    case 'M':
    case 'S':
      s.parity = parity;
      break;
    default:
      s.parity = 'N';
  }
  s.dataBits = dataBits < 4 ? 4 : (dataBits > 8 ? 8 : dataBits);
  s.stopBits = stopBits == 2 ? 2 : 1;
  s.flow = (flow >= platform::kFlowNone && flow <= platform::kFlowBoth) ? flow : platform::kFlowNone;
  return s;
}

std::uint8_t terminatorFor(int terminator) {
  return (terminator < 1 || terminator > 255) ? static_cast<std::uint8_t>(kDefaultTerminator)
                                              : static_cast<std::uint8_t>(terminator);
}

}  // namespace

PortLayer::PortLayer(platform::SerialOpener opener) : opener_(std::move(opener)) {
  for (int i = 0; i < kGeneralInstances; ++i) instances_[i] = std::make_unique<PortInstance>(kClassGeneral);
  instances_[kGpsIndex] = std::make_unique<PortInstance>(kClassGps);
}

PortLayer::~PortLayer() { closeAll(); }

void PortLayer::setHost(ui::Host* host) { host_ = host; }

void PortLayer::setGpsReader(ReaderRoutine routine) { gpsReader_ = std::move(routine); }

PortInstance* PortLayer::instanceOf(int port) const {
  if (port < 0 || port > kHighestPort) return nullptr;
  return table_[port];
}

bool PortLayer::isOpen(int port) const { return instanceOf(port) != nullptr; }

int PortLayer::Port_Open(int port, std::uint32_t baud, char parity, int dataBits, int stopBits, int terminator,
                         int flow, int instanceClass) {
  if (baud == 0 || port < 0 || port > kHighestPort) return 0;
  if (table_[port] != nullptr) {
    // A second instance on one device would have two readers share its bytes.
    const std::string text = alreadyOpenText(port);
    showOpenFailure(host_, text, text);
    return 0;
  }

  PortInstance* instance = nullptr;
  if (instanceClass == kClassGps) {
    if (!instances_[kGpsIndex]->isFree()) {
      if (host_ != nullptr) (void)ui::inform(*host_, kGpsBusyText, kOpenErrorCaption);
      return 0;
    }
    if (!gpsReader_) return 0;  // nothing to run as its reader
    instance = instances_[kGpsIndex].get();
  } else {
    for (int i = 0; i < kGeneralInstances && instance == nullptr; ++i)
      if (instances_[i]->isFree()) instance = instances_[i].get();
    if (instance == nullptr) return 0;
  }

  int error = platform::kOk;
  std::unique_ptr<platform::SerialDevice> device = opener_(port, error);
  for (int retry = 0; !device && error == platform::kErrNotReady && retry < kOpenRetries; ++retry) {
    platform::clock().sleep(kOpenRetryMs);
    device = opener_(port, error);
  }
  if (!device) {
    if (error == platform::kOk) error = platform::kErrFileNotFound;
    showOpenFailure(host_, openErrorLine(port, error), openErrorBox(port, error));
    return 0;
  }

  // The device's own queues stand in for the input and output queue sizes;
  // start from nothing received and nothing waiting to go out.
  device->purge();
  const int configured = device->configure(settingsFor(baud, parity, dataBits, stopBits, flow));
  if (configured != platform::kOk) {
    showOpenFailure(host_, openErrorLine(port, configured), openErrorBox(port, configured));
    return 0;  // the device closes as it goes out of scope
  }
  // Read and write time-outs are no longer a port setting: the reader passes
  // its own to each readByte and write call (line_reader.cpp).
  device->setDtr(true);
  device->setRts(true);

  // Thread priorities are left to the system: the readers wait in device
  // calls and need no boost to keep up.
  if (!instance->start(port, std::move(device), terminatorFor(terminator),
                       instanceClass == kClassGps ? gpsReader_ : ReaderRoutine{}))
    return 0;
  table_[port] = instance;
  return 1;
}

int PortLayer::closePort(int port) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return 0;
  if (!instance->channel()->stop) drainSend(*instance->channel());
  instance->stop(kStopWait);
  table_[port] = nullptr;
  return 1;
}

void PortLayer::closeAll() { closeWhere(true); }

void PortLayer::closeGeneral() { closeWhere(false); }

void PortLayer::closeWhere(bool withGps) {
  auto chosen = [withGps](const PortInstance* instance) {
    return instance != nullptr && (withGps || instance->instanceClass() != kClassGps);
  };
  // What is queued goes out first; then every reader is asked to stop at
  // once, so the waits for them overlap.
  for (PortInstance* instance : table_)
    if (chosen(instance)) drainSend(*instance->channel());
  for (PortInstance* instance : table_)
    if (chosen(instance)) instance->requestStop();
  for (int port = 0; port <= kHighestPort; ++port)
    if (chosen(table_[port])) (void)closePort(port);
}

int PortLayer::readMessage(int port, std::string& out, std::size_t maxLength, std::uint32_t timeoutMs,
                           bool purge, const ui::KeyQueue* abortKeys) {
  out.clear();
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return 0;
  if (purge) purgeReceive(port);
  PortChannel& channel = *instance->channel();
  platform::Clock& clock = platform::clock();
  const std::uint64_t start = clock.ticks();
  for (;;) {
    {
      std::lock_guard<std::mutex> g(channel.lock);
      if (channel.store.take(out, maxLength)) return static_cast<int>(out.size());
    }
    if (abortKeys != nullptr && abortKeys->count() > 0) return 0;
    if (clock.ticks() - start >= timeoutMs) return 0;
    clock.sleep(kReadPollMs);
  }
}

void PortLayer::purgeReceive(int port) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return;
  PortChannel& channel = *instance->channel();
  // Devices take a purge while the reader waits in a read.
  channel.device->purge();
  std::lock_guard<std::mutex> g(channel.lock);
  ++channel.purgeCount;
  channel.store.clear();
  channel.terminalBytes.clear();
}

void PortLayer::purgeSend(int port) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return;
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  channel.sendQueue.clear();
}

int PortLayer::queueSend(int port, std::string_view text) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return 0;
  const std::size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  const std::size_t used = channel.sendQueue.size() + channel.sending;
  const std::size_t room = used >= kSendLimit ? 0 : kSendLimit - used;
  if (text.size() > room) text = text.substr(0, room);
  channel.sendQueue.append(text);
  return static_cast<int>(text.size());
}

int PortLayer::pendingSend(int port) const {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return 0;
  return static_cast<int>(instance->channel()->pendingSend());
}

std::string PortLayer::lastError(int port) const {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return {};
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  return channel.errorText;
}

int PortLayer::lastErrorNumber(int port) const {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return 0;
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  return channel.errorNumber;
}

bool PortLayer::setTerminalMode(int port, bool on) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return false;
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  if (on && !channel.terminalMode) channel.terminalBytes.clear();
  channel.terminalMode = on;
  return true;
}

std::string PortLayer::takeTerminalBytes(int port) {
  PortInstance* instance = instanceOf(port);
  if (instance == nullptr) return {};
  PortChannel& channel = *instance->channel();
  std::lock_guard<std::mutex> g(channel.lock);
  std::string out;
  out.swap(channel.terminalBytes);
  return out;
}

}  // namespace serial
