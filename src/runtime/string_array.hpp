#pragma once
// The string array's entries as texts: an entry holds one text of up to 202
// characters at offset 0, or two halves of up to 100 characters at offsets 0
// and 101. Half index i (0-1023) is the first half of entry i for i < 512 and
// the second half of entry i − 512 otherwise. Callers check the index.
#include <cstddef>
#include <string>

#include "runtime/machine.hpp"

namespace runtime {

inline constexpr int kHalfEntryOffset = 101;

// The whole text of entry index (0-511), up to its terminator.
std::string stringEntry(const Machine& m, int index);
// The text of half index (0-1023).
std::string stringHalf(const Machine& m, int index);
// Stores text in entry index / half index, cut to 202 / 100 characters and
// terminated; returns the characters stored.
std::size_t putStringEntry(Machine& m, int index, const std::string& text);
std::size_t putStringHalf(Machine& m, int index, const std::string& text);

}  // namespace runtime
