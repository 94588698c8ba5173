#pragma once
// Draws an open form in cells: the framed box with the caption in its top
// edge and every visible control with its current value, the focused one
// marked; an opened drop-down list is drawn last, over the rest.
#include "cell_grid.hpp"
#include "form_input.hpp"
#include "form_layout.hpp"
#include "renderer.hpp"
#include "ui/form_state.hpp"

namespace tui {

// Returns where the cursor belongs: shown at the end of the text of a focused
// edit that can be typed in, hidden otherwise.
CursorState drawForm(CellGrid& grid, const FormLayout& layout, const ui::FormState& state,
                     const FormInput& input);

// The text a push button shows in width cells: "< OK >", the default button
// "<< OK >>"; narrower forms when the label does not fit.
std::u32string buttonFace(const std::u32string& label, bool isDefault, int width);

}  // namespace tui
