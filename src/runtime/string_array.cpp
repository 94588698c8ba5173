#include "runtime/string_array.hpp"

#include <algorithm>
#include <cstring>

namespace runtime {

namespace {

using Entry = std::array<char, kStringEntrySize>;

std::size_t put(Entry& entry, int offset, std::size_t most, const std::string& text) {
  const std::size_t n = std::min(text.size(), most);
  std::memcpy(entry.data() + offset, text.data(), n);
  entry[static_cast<std::size_t>(offset) + n] = 0;
  return n;
}

std::string get(const Entry& entry, int offset, std::size_t most) {
  const char* p = entry.data() + offset;
  std::size_t n = 0;
  while (n < most && p[n] != 0) ++n;
  return std::string(p, n);
}

int halfOffset(int index) { return index < kArraySize ? 0 : kHalfEntryOffset; }
std::size_t entryOfHalf(int index) { return static_cast<std::size_t>(index % kArraySize); }

}  // namespace

std::string stringEntry(const Machine& m, int index) {
  return get(m.strings[static_cast<std::size_t>(index)], 0, kStringEntryText);
}

std::string stringHalf(const Machine& m, int index) {
  return get(m.strings[entryOfHalf(index)], halfOffset(index), kHalfEntryText);
}

std::size_t putStringEntry(Machine& m, int index, const std::string& text) {
  return put(m.strings[static_cast<std::size_t>(index)], 0, kStringEntryText, text);
}

std::size_t putStringHalf(Machine& m, int index, const std::string& text) {
  return put(m.strings[entryOfHalf(index)], halfOffset(index), kHalfEntryText, text);
}

}  // namespace runtime
