#pragma once
// Random fills: a value drawn between bounds that are fixed in the column's
// random definition or taken from columns of the open levels.
#include <cstdint>

#include "editor/engine.hpp"

namespace editor {

// The next value of the generator kept in state: 0-32767, the same sequence
// for the same seed.
int nextRandom(std::uint32_t& state);

// Draws the next random value of column k of the current level by its random
// definition: the fixed bounds, a low (mode 4), high (mode 5) or both (mode 6)
// taken from a column and clipped into the fixed ones, then low forced into
// 1-32767 and high to at most 32767; the value lies in low..max(low, high).
// Marks the line changed. False (value untouched, nothing drawn) when the
// column has no random definition, or a bound names a level that is not open
// or a column that level does not have: the column is then left blank.
[[nodiscard]] bool drawRandom(Engine& e, int k, std::int32_t& value);

}  // namespace editor
