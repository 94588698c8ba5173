#pragma once
// The index rule of the array built-ins: an index outside the array, or any
// negative index value (−0.5 included), stops the run with error 22 ("Index
// Over Range").
#include "runtime/call.hpp"

namespace runtime {

// Argument i of c as an index below size: true with index set, or false with
// run error 22 set.
[[nodiscard]] bool arrayIndex(Call& c, int i, int size, int& index);

}  // namespace runtime
