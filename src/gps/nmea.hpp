#pragma once
// NMEA 0183 input: assembling sentences from the byte stream, the queue of
// kept sentences, and the handlers of GGA, VTG, GSA, ZDA and RMC.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gps/gps_state.hpp"

namespace gps {

inline constexpr std::size_t kSentenceLimit = 1021;  // longer sentences are dropped
inline constexpr std::size_t kQueueSlots = 5;
inline constexpr std::size_t kSlotText = 196;         // bytes of a sentence a slot keeps

// Every '$' starts a sentence (a partial one is discarded; bytes before the
// first '$' are dropped), bytes below 0x20 are dropped, carriage return ends
// it; a sentence longer than kSentenceLimit is dropped.
class SentenceAssembler {
 public:
  // True when byte completed a sentence; sentence() holds it until the next feed.
  bool feed(std::uint8_t byte);
  const std::string& sentence() const { return done_; }
  void reset();

 private:
  std::string building_, done_;
  bool inSentence_ = false, tooLong_ = false;
};

// Whether a complete sentence is one the receiver keeps: a talker "GL",
// "GN" or "GP" and the type "GGA," "VTG," "GSA," "ZDA," or "RMC,".
bool keptSentence(std::string_view sentence);

// The five-slot queue of kept sentences (guarded by the GPS lock by whoever
// holds it). A slot keeps the first 196 bytes of a sentence.
class SentenceQueue {
 public:
  // False (sentence dropped) when all five slots are in use.
  bool put(std::string_view sentence);
  // Takes the oldest sentence; false when none waits.
  bool take(std::string& out);
  void clear();
  std::size_t size() const { return count_; }

 private:
  std::array<std::string, kQueueSlots> slots_;
  std::size_t first_ = 0, count_ = 0;
};

// Whether sentence begins with '$', holds '*', and the XOR of the bytes
// between them equals the hexadecimal number after '*'.
bool checksumValid(std::string_view sentence);

// Handles one complete sentence (checksum, field split, minimum field
// counts GGA 15, VTG 9, GSA 16, ZDA 5, RMC 12, then its handler) on d, which
// the caller holds under the GPS lock. When the fix is valid afterwards the
// status warning runs. effects.handled is false for a dropped sentence.
DecodeEffects handleSentence(GpsData& d, std::string_view sentence, const DecodeInput& in);

// The status warning of the GPS warning filters in d.parms: the first
// failing test sets the status text (padded to 30), old and warning; none
// failing clears the text and the warning.
void statusWarning(GpsData& d);

}  // namespace gps
