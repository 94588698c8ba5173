#include "tfabuild/assembler.hpp"

#include <algorithm>
#include <string_view>

#include "tfabuild/asm_unit.hpp"

namespace tfabuild {

AssembleResult assembleProgram(const std::string& source, const std::string& name) {
  asmunit::Unit unit;
  unit.name = name;
  std::string_view rest(source);
  int line = 0;
  while (!rest.empty()) {
    std::size_t nl = rest.find('\n');
    std::string_view text = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    asmunit::assembleLine(unit, text, ++line);
  }
  asmunit::finishBlocks(unit);

  AssembleResult r;
  asmunit::layOut(unit, r.bytes);
  for (const auto& [n, use] : unit.names) {
    if (use.kind == asmunit::NameUse::Kind::Label) {
      r.labels[n] = static_cast<std::uint16_t>(unit.labelIndex[use.index]);
      continue;
    }
    const asmunit::DataItem& item = unit.data[use.index];
    ProgramSymbol s;
    s.kind = item.kind == asmunit::DataItem::Kind::Number   ? ProgramSymbol::Kind::Number
             : item.kind == asmunit::DataItem::Kind::String ? ProgramSymbol::Kind::String
                                                            : ProgramSymbol::Kind::Constant;
    s.offset = item.offset;
    s.capacity = item.size;
    r.symbols[n] = s;
  }
  std::stable_sort(unit.errors.begin(), unit.errors.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [l, message] : unit.errors) r.errors.push_back(name + ":" + std::to_string(l) + ": " + message);
  if (!r.errors.empty()) r.bytes.clear();
  return r;
}

}  // namespace tfabuild
