#pragma once
// The run-time error codes the program loader and the interpreter share, and
// their texts. A non-zero run error stops a run; the same codes serve as the
// status code of the data and device built-ins, which do not stop it.
#include <string>

namespace runtime {

enum RunError : int {
  kNoError = 0,
  kErrFileOpen = 1,
  kErrFileSize = 2,
  kErrTooLarge = 3,
  kErrMemory = 4,
  kErrFileRead = 5,
  kErrDivideByZero = 6,
  kErrUnknownCommand = 7,
  kErrProgramRead = 8,  // "RPF Open/Create": a segment could not be read whole
  kErrHandle = 9,
  kErrStackOverflow = 10,
  kErrEvalOverflow = 11,
  kErrDataNotOpen = 12,
  kErrBadDataSource = 13,
  kErrEvalStack = 14,
  kErrBadReturn = 15,
  kErrLineRange = 16,
  kErrColumnRange = 17,
  kErrNoTable = 18,
  kErrTableOpen = 19,
  kErrTableRange = 20,
  kErrItemNotFound = 21,
  kErrIndexRange = 22,
  kErrBadColumnName = 23,
  kErrBadFieldType = 24,
  kErrUserAborted = 25,
  kErrTooManyTables = 26,
  kErrCantProcess = 27,
  kErrDiskLow = 28,
  kErrPortOpen = 29,
  kErrCantOpenPort = 30,
  kErrNoBranch = 31,
  kErrNoName = 32,
  kErrNoSibling = 33,
  kErrUnknown2 = 34,
  kErrPortNotAvailable = 35,
  kErrPrinterNotOpen = 36,
};

inline constexpr int kRunErrorCount = 101;

// The text of code (0-100) as the system shows it; codes outside the table
// give the text of 100.
const std::string& runErrorText(int code);

}  // namespace runtime
