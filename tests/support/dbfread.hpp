#pragma once
// Python's dbfread, the independent reader our tables must satisfy.
#include <string>

namespace testing_support {

// A Python that has dbfread: Debian's, then whatever python3 is first on
// PATH; empty when none has it.
std::string pythonWithDbfread();

}  // namespace testing_support
