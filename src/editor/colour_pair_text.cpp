#include "editor/colour_pair_text.hpp"

#include "ui/palette.hpp"

namespace editor {

std::string colourPairText(int textIndex, int backIndex) {
  return std::string(ui::colourName(textIndex)) + "/" + ui::colourName(backIndex);
}

}  // namespace editor
