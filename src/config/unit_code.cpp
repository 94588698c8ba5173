#include "config/unit_code.hpp"

#include "config/settings.hpp"

#include "base/text.hpp"

namespace config {

std::string unitCodeFrom(std::string_view unitIdText) {
  // Trimmed first too, so blanks around a long name do not end up in the code.
  std::string text = base::trim(unitIdText);
  if (text.size() >= 7) text = text.substr(text.size() - 6);
  text = base::trim(text);
  if (text.size() < 6) text.append(6 - text.size(), '_');
  return text;
}

std::string thisUnitCode(const SettingsRecord& settings) {
  const std::string code = settings.unitCode();
  return code.size() == 6 ? code : unitCodeFrom(settings.unitIdText());
}

}  // namespace config
