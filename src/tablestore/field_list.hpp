#pragma once
// One entry of the field list given to createTable and returned by fieldInfo.
#include <string>

namespace tablestore {

struct FieldSpec {
  std::string name;  // at most 10 characters are kept; stored upper-cased
  char type = 'C';   // 'C', 'N', 'F', 'D' or 'L' at create; any letter read from a file
  int length = 0;    // C: 1-65534; N, F: 1-255; D is always 8 and L always 1
  int decimals = 0;  // N, F only
};

}  // namespace tablestore
