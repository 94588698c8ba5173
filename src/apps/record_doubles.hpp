#pragma once
// 64-bit IEEE doubles inside fixed-layout records (little-endian, as the
// control files store them).
#include <bit>
#include <cstddef>
#include <cstdint>

#include "base/fixed_record.hpp"
#include "base/le.hpp"

namespace apps {

template <std::size_t N>
double getF64(const base::FixedRecord<N>& record, std::size_t offset) {
  static_assert(sizeof(double) == 8);
  if (offset + 8 > N) return 0.0;
  return std::bit_cast<double>(base::getU64(record.bytes().data() + offset));
}

template <std::size_t N>
void putF64(base::FixedRecord<N>& record, std::size_t offset, double value) {
  if (offset + 8 > N) return;
  base::putU64(record.bytes().data() + offset, std::bit_cast<std::uint64_t>(value));
}

}  // namespace apps
