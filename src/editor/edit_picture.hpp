#pragma once
// The picture editor of character fields: a picture of the field's width in
// which "#" takes a digit, "*" any printable character, "?" a letter or digit,
// "@" a letter, "~" a letter, digit or underscore, and every other character
// is a literal copied into the value and skipped by the position.
#include <string>
#include <string_view>
#include <vector>

#include "editor/field_context.hpp"

namespace editor {

// Whether the picture character takes a typed character.
bool isPicturePlaceholder(char pictureChar);
// Whether placeholder pictureChar accepts c; a literal accepts nothing.
bool pictureAccepts(char pictureChar, char c);
// The warning lines of a refusal by placeholder pictureChar ("Must be"
// " Digit" ...), empty for "*" and literals.
std::vector<std::string> pictureRefusal(char pictureChar);
// The picture with its placeholders blanked: what an empty value starts as.
std::string pictureTemplate(std::string_view picture, int width);

// Edits buffer (exactly opts.width characters) by opts.picture (cut or
// filled with "*" to the width). An empty value starts as the template; the
// first printable key clears the value to it. A character the placeholder
// refuses is not taken and its message shows for 2.5 s; after an accepted one
// the position skips literals to the next placeholder, and past the last the
// editor returns Enter (with wait-when-full, the next key). Backspace steps
// back over literals to the previous placeholder and blanks it; at the first
// placeholder it returns Left. Copy, paste (the copy typed through the
// picture; refused whole with a beep when any character is refused or it is
// too long), clicks and the abort code as in editText. Returns the exit key.
[[nodiscard]] ui::KeyCode editPicture(FieldContext& ctx, const CellSpot& spot,
                                      const FieldOptions& opts, std::string& buffer,
                                      bool& changed);

}  // namespace editor
