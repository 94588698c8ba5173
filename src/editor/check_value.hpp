#pragma once
// The standard checks of a value typed into a column: the empty rule, the
// picture, the absolute and relative ranges, the minimum text length, the
// code lists and range tables of check files (through a relation when the
// column has one) and the warning range.
#include <string>

#include "editor/engine.hpp"

namespace editor {

enum class CheckResult {
  kAccepted,
  kRefused,               // the override question may follow
  kRefusedWithoutPrompt,  // the user has been told or asked already: no override question
};

// Messages of the checks, shown for this many tens of milliseconds.
inline constexpr int kCheckMessageTime = 200;

// Runs the standard checks of column k of the current level on text (the
// edit buffer). A code list that replaces by the second field puts that
// field's text (or its number formatted to the column) into text. With
// revalidating (a stored level is checked again) nothing is shown or asked:
// a missing check file counts as accepted, the warning range is not asked,
// and a replacing column is looked up in field 2 (where the stored text came
// from) by a record-by-record search.
[[nodiscard]] CheckResult checkValue(Engine& e, int k, std::string& text, bool revalidating = false);

// The bounds of the relative checks of column k: the value of the low (high)
// bound column of its level, raised to the minimum (lowered to the maximum);
// a bound whose level is not 1-5 is the minimum (maximum) itself.
double relativeLow(const Engine& e, const apps::ColumnCheck& c);
double relativeHigh(const Engine& e, const apps::ColumnCheck& c);

// Whether text fits the picture position by position ("#" digit, "?" letter
// or digit, "@" letter, "~" letter, digit or underscore; any other picture
// character, and a position past the picture, takes anything).
bool fitsPicture(const std::string& text, const std::string& picture);

}  // namespace editor
