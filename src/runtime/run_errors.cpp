#include "runtime/run_errors.hpp"

#include <array>

namespace runtime {

namespace {

std::array<std::string, kRunErrorCount> makeTexts() {
  std::array<std::string, kRunErrorCount> t{};
  const char* const named[] = {
      "No Error",           "File open error",      "File size error",    "Program too large",
      "Not Enough Memory",  "File read error",      "Divide by 0 error",  "Unknown Command",
      "RPF Open/Create",    "RPF handle Error",     "Stack OverFlow",     "Eval. OverFlow",
      "Data File Not Open", "Bad Data Source",      "Evl Stack OverFlow", "Bad Return Command",
      "Line OverRange",     "Column OverRange",     "Can't Find Table",   "Table Open Error",
      "Table Range Error",  "Tbl Item Not Found",   "Index Over Range",   "Bad Column Name ",
      "Bad Field Type  ",   "USER ABORTED",         "Too Many RPF's",     "Can't Process",
      "Disk Storage Low",   "Port Aleady Open",     "Can't Open Port",    "Branch not Available",
      "Can't Generate Name", "Sibling notAvailable", "Unknown Error 2",   "Port Not Available",
      "Printer Port Not Open"};
  std::size_t i = 0;
  for (const char* text : named) t[i++] = text;
  for (; i < t.size(); ++i) t[i] = "Unknown Error 3";
  return t;
}

}  // namespace

const std::string& runErrorText(int code) {
  static const std::array<std::string, kRunErrorCount> texts = makeTexts();
  if (code < 0 || code >= kRunErrorCount) code = kRunErrorCount - 1;
  return texts[static_cast<std::size_t>(code)];
}

}  // namespace runtime
