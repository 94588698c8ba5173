#pragma once
// What the receiver and its reader routine share. The routine holds it by a
// shared pointer, so a reader left behind in a hung device call never
// touches a receiver that is gone.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "gps/gps_state.hpp"
#include "gps/receiver.hpp"

namespace gps {

struct ReaderShared {
  explicit ReaderShared(ReceiverServices s) : services(std::move(s)) {}

  GpsState state;
  const ReceiverServices services;
  // Fixed before the reader starts.
  int protocol = kProtocolNmea;
  std::uint32_t timeoutMs = kDefaultDetectionTimeout;

  std::atomic<bool> enabled{false};
  std::atomic<bool> detected{false};
  std::atomic<std::uint64_t> lastSentence{0};  // platform clock ticks
  std::atomic<bool> clockRefused{false};
  std::atomic<bool> positionKnown{false};  // a fix has been had since the program started
  mutable std::mutex noteLock;
  std::string clockNote;
  // The receiver, touched on the UI thread only (cleared when it goes).
  Receiver* owner = nullptr;
};

// The reader routine: loops on context until a stop is requested or the
// receiver has been silent for 1.5 × the detection time-out (it then posts
// a reconnect to the UI thread).
void runGpsReader(const std::shared_ptr<ReaderShared>& shared, serial::ReaderContext& context);

// Plays one of the GPS sounds from the settings folder.
void playGpsSound(const ReaderShared& shared, const char* name);

}  // namespace gps
