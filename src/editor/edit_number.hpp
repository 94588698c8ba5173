#pragma once
// The numeric editor of 'N' fields.
#include <string>

#include "editor/field_context.hpp"

namespace editor {

// Edits buffer, the text of a number field of opts.width characters with
// opts.decimals decimals. The first key, when a digit, '+', '-' or '.', clears
// the value. Digits enter from the right (a lone leading zero gives way);
// '.' moves entry to the decimals, which fill left to right; '-' puts a minus
// in front of the digits or takes it away, '+' takes it away. Backspace
// removes the last digit entered, or returns Left when the value is empty or
// 0. A digit, sign or point that would not fit the width and decimals is
// refused with a beep. When the text fills the width the editor returns
// Enter (with wait-when-full, the next key). Ctrl+V / Shift+Insert take the
// copied number when it fits the width and decimals as it stands (beep
// otherwise); Ctrl+C / Ctrl+Insert copy. A click on the cell is taken (the
// position is the entry's own); elsewhere it returns 513. Any other key is
// returned; ui::key::kAbort leaves buffer untouched.
// On a return other than the abort, an edited value is stored right-aligned
// with its decimals ("  12.50"), or all blanks when no digit is left.
[[nodiscard]] ui::KeyCode editNumber(FieldContext& ctx, const CellSpot& spot,
                                     const FieldOptions& opts, std::string& buffer, bool& changed);

}  // namespace editor
