#pragma once
// The program's line settings as a termios configuration (kept apart from
// the device so the mapping can be checked without a tty).
#include <termios.h>

#include "platform/serial.hpp"

namespace platform::posix {

// Raw 8-bit: no echo, signals, CR/LF translation or flow control; reads
// return what is there (the device waits with poll, not VMIN/VTIME).
void makeRawTermios(termios& tio);

// makeRawTermios, then rate, character size, parity, stop bits and flow
// control from settings. 0, or an error code: kErrInvalidParameter for rate
// 0, kErrNotSupported for mark/space parity where termios has no CMSPAR.
// customRate is set when the rate has no speed_t constant: tio then holds a
// placeholder standard rate and the caller sets the real one afterwards.
[[nodiscard]] int applyLineSettings(termios& tio, const SerialSettings& settings,
                                    bool& customRate);

}  // namespace platform::posix
