#pragma once
// The date and time editors: digits typed into a template of parts.
#include <string>

#include "editor/field_context.hpp"

namespace editor {

// Edits the date of opts.fieldType (2, 3, 9 or 10) in buffer: a character
// field holds it with separators ("  /  /  ", "  /  /    ", "    /  /  "), a
// numeric field the same digits without them. Digits (the first one clears
// the value to the template) fill the template left to right, skipping the
// separators. '/' jumps to the next part in a character field (digits just
// typed into a part that they do not fill become its number: "5" is "05";
// right after a part was typed full it stays, so "12/25/24" types as seen);
// in a numeric field it checks the date and returns Right. Left or Backspace move back
// (at the first position: check, then Left); Right moves forward (past the
// end: check, then Right). Ctrl+D fills today's date and returns Right.
// Filling the last position checks and returns Enter (with wait-when-full,
// the next key). Any other key leaving an edited date checks it too. A
// refused date shows its message and puts the position on the bad part;
// editing goes on. Copy, paste (the copy's digits when there are as many as
// the template holds, else a beep), clicks and the abort code as in editText.
// A field narrower than its template is shown and the next key returned.
[[nodiscard]] ui::KeyCode editDate(FieldContext& ctx, const CellSpot& spot,
                                   const FieldOptions& opts, std::string& buffer, bool& changed);

// Edits a time "hh:mm:ss" ("hhmmss" in a numeric field) the same way with ':'
// as the separator and Ctrl+T filling the time now; an empty or zero value
// starts as "00:00:00" ("000000"), and the first digit clears to it.
[[nodiscard]] ui::KeyCode editTime(FieldContext& ctx, const CellSpot& spot,
                                   const FieldOptions& opts, std::string& buffer, bool& changed);

}  // namespace editor
