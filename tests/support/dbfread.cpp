#include "support/dbfread.hpp"

#include <cstdlib>

namespace testing_support {

std::string pythonWithDbfread() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    const std::string probe = std::string(candidate) + " -c 'import dbfread' >/dev/null 2>&1";
    if (std::system(probe.c_str()) == 0) return candidate;
  }
  return {};
}

}  // namespace testing_support
