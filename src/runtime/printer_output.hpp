#pragma once
// Printing on the program's port: a text formatted to a width and queued on
// the port's send queue, after waiting while earlier output is still being
// sent; Escape during the wait lets the crew abort the printing.
#include <string>
#include <string_view>

#include "runtime/builtin_table.hpp"
#include "runtime/call.hpp"

namespace runtime {

// What every print operation returns when it printed (or skipped a text the
// crew chose not to abort on), and when it could not print: no port (status
// 36, "Printer Port Not Open") or the crew aborted.
inline constexpr int kPrinted = 0;
inline constexpr int kNotPrinted = 27;

inline constexpr int kPrintTextMax = 200;  // characters of a text that are printed
inline constexpr int kPrintWidthMax = 128;
inline constexpr int kPrintGapMax = 20;

// The text of printFormatted: at most 200 characters of text, trimmed, then
// for a width w (at most 128; negative as 0) padded with w - length blanks:
// alignment 1 before the text, 2 after it, 3 after it with the letters in
// capitals (as the field editors turn them); 0 (and any other) the text
// alone. A non-zero width cuts the line to w characters.
std::string formatPrintText(std::string_view text, int width, int alignment);

// Queues text (when not empty) and, with lineEnd, "\r\n" on the printer
// port; kPrinted or kNotPrinted.
[[nodiscard]] int printText(Call& c, std::string_view text, bool lineEnd);
// formatPrintText, then printText.
[[nodiscard]] int printFormatted(Call& c, std::string_view text, int width, int alignment, bool lineEnd);

// Whether the printer port is there; when not, status 36 is set.
[[nodiscard]] bool printerReady(Call& c);

// 117-122 (builtins_printer.cpp).
void addPrinterBuiltins(BuiltinTable& t);

}  // namespace runtime
