#pragma once
#include <string>
#include <string_view>

namespace config {

// The six characters every data file name carries: the last six characters
// of the unit identification text when it has seven or more, else the whole
// text; blanks trimmed on both sides; padded on the right with "_" to six.
std::string unitCodeFrom(std::string_view unitIdText);

}  // namespace config
