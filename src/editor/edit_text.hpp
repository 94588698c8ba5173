#pragma once
// The text editors of character fields: the plain one and the scrolling one
// for fields wider than their cell.
#include <string>

#include "editor/field_context.hpp"

namespace editor {

// Edits buffer (kept at exactly opts.width characters) in the cell at spot,
// drawn white on black with the Screen's cursor at the editing position.
// Starts in insert mode with an underline cursor at the first position; the
// first key, when printable, clears the field. Printable keys go in at the
// position (insert shifts the rest right, the last character dropping off);
// Ctrl+F / Ctrl+F2 turn on field-edit mode (Left and Right move inside,
// Insert / Alt+I toggle insert, shown as the half-cell cursor; Backspace
// closes the gap); outside it Left and Right are returned, Insert / Alt+I
// switch to overwrite and Backspace blanks the previous character. Delete
// removes the character at the position. Backspace at the first position
// returns Left. Ctrl+C / Ctrl+Insert copy, Ctrl+V / Shift+Insert paste (a copy
// longer than the field is refused with a beep). A click on the cell moves
// the position; elsewhere it is returned (513).
// Returns the key that ended editing: Enter when the position passes the
// end (with wait-when-full the key after it), any key that is no edit
// command, or ui::key::kAbort — then buffer is untouched and changed false.
// changed tells whether buffer now differs from what it was.
[[nodiscard]] ui::KeyCode editText(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                                   std::string& buffer, bool& changed);

// As editText, but the cell shows spot.shownWidth characters of the field,
// the shown part following the position; Ctrl+Left and Ctrl+Right move the
// position by one, Ctrl+Home to the first character, Ctrl+End after the last
// non-blank one (staying inside the field).
[[nodiscard]] ui::KeyCode editScrollText(FieldContext& ctx, const CellSpot& spot,
                                         const FieldOptions& opts, std::string& buffer,
                                         bool& changed);

}  // namespace editor
