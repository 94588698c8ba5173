#pragma once
// What the readers of the host transfer's records report. Every reader
// checks the bounds below before it trusts a byte of its input.
namespace transfer {

enum class WireParse {
  kOk = 0,
  kShort,              // fewer bytes than the record (or the control file's header) needs
  kEntriesPastEnd,     // the control file's entry count asks for more entries than it holds
  kUnterminatedName,   // a name or text field holds no NUL inside its field
  kLengthAboveMax,     // a file header's length is above the caller's maximum
  kTrailingBytes,      // a control file has bytes after its entries that are not a date and time
};

}  // namespace transfer
