#include "tfabuild/builtin_list.hpp"

#include "runtime/builtins.hpp"

namespace tfabuild {

std::string builtinTableMarkdown() {
  std::string s = "| Number | Name | Arguments | Yields |\n|---:|---|---:|---|\n";
  for (int n = 0; n < runtime::kBuiltinCount; ++n) {
    const runtime::BuiltinInfo* b = runtime::builtinInfo(n);
    if (!b) continue;
    const char* yields = b->yields == runtime::Yields::Nothing  ? "nothing"
                         : b->yields == runtime::Yields::Number ? "number"
                         : b->yields == runtime::Yields::Text   ? "text"
                                                                : "number or text";
    s += "| " + std::to_string(b->number) + " | `" + std::string(b->name) + "` | " + std::to_string(b->arguments) +
         " | " + yields + " |\n";
  }
  return s;
}

}  // namespace tfabuild
