#pragma once
// The sample text of a colour pair: the text colour's name, "/", and the
// background colour's name ("Black/DkTeal" for 15 on 13).
#include <string>

namespace editor {

// Indices outside 0-15 are named as the palette clamps them.
std::string colourPairText(int textIndex, int backIndex);

}  // namespace editor
