#include "apps/level_definition.hpp"

#include "base/text.hpp"

namespace apps {

int LevelDefinition::columnNamed(std::string_view name) const {
  std::string wanted = base::trim(name);
  if (wanted.empty()) return 0;
  for (int k = 1; k <= lastColumn(); ++k) {
    if (base::equalsNoCase(base::trimRight(fields[static_cast<std::size_t>(k)].name()), wanted)) return k;
  }
  return 0;
}

std::vector<tablestore::FieldSpec> buildFieldList(const std::vector<ColumnField>& fields) {
  std::vector<tablestore::FieldSpec> list;
  list.reserve(fields.size());
  for (std::size_t k = 1; k < fields.size(); ++k) {
    tablestore::FieldSpec desc;
    desc.name = fields[k].name();
    desc.type = fields[k].type();
    desc.length = fields[k].width();
    desc.decimals = fields[k].decimals();
    list.push_back(std::move(desc));
  }
  list.push_back(tablestore::FieldSpec{"", 0, 0, 0});
  return list;
}

}  // namespace apps
