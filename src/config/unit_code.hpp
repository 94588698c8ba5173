#pragma once
#include <string>
#include <string_view>

namespace config {

// The six characters every data file name carries: the last six characters
// of the unit identification text when it has seven or more, else the whole
// text; blanks trimmed on both sides; padded on the right with "_" to six.
std::string unitCodeFrom(std::string_view unitIdText);

class SettingsRecord;
// The unit code this unit names new data files with: the settings record's
// when it has six characters, else the one made from its unit identification.
std::string thisUnitCode(const SettingsRecord& settings);

}  // namespace config
