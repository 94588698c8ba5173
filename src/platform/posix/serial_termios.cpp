#include "platform/posix/serial_termios.hpp"

#include "platform/errors.hpp"

namespace platform::posix {
namespace {

// The speed_t constant for a standard rate, or B0 when there is none.
speed_t standardSpeed(std::uint32_t baud) {
  switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
#ifdef B57600
    case 57600: return B57600;
#endif
#ifdef B115200
    case 115200: return B115200;
#endif
#ifdef B230400
    case 230400: return B230400;
#endif
#ifdef B460800
    case 460800: return B460800;
#endif
#ifdef B921600
    case 921600: return B921600;
#endif
    default: return B0;
  }
}

}  // namespace

void makeRawTermios(termios& tio) {
  // No INPCK either: a byte with a parity error is handed on as received,
  // not replaced by 0, as the Windows port does with error-character
  // replacement off.
  tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                   IXANY | INPCK | IGNPAR);
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#ifdef CMSPAR
  tio.c_cflag &= ~CMSPAR;
#endif
  tio.c_cflag |= CLOCAL | CREAD | CS8;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
}

int applyLineSettings(termios& tio, const SerialSettings& s, bool& customRate) {
  customRate = false;
  if (s.baud == 0) return kErrInvalidParameter;
  makeRawTermios(tio);

  // termios has no 4-bit characters; CS5 is the nearest the hardware takes.
  int bits = s.dataBits < 5 ? 5 : (s.dataBits > 8 ? 8 : s.dataBits);
  tio.c_cflag &= ~CSIZE;
  tio.c_cflag |= bits == 5 ? CS5 : bits == 6 ? CS6 : bits == 7 ? CS7 : CS8;
  if (s.stopBits == 2) tio.c_cflag |= CSTOPB;

  switch (s.parity) {
    case 'E': tio.c_cflag |= PARENB; break;
    case 'O': tio.c_cflag |= PARENB | PARODD; break;
#ifdef CMSPAR
    // Mark and space: the parity bit is always 1 or always 0.
    case 'M': tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 'S': tio.c_cflag |= PARENB | CMSPAR; break;
#else
    case 'M': case 'S': return kErrNotSupported;
#endif
    default: break;
  }

  switch (s.flow) {
    case kFlowXonXoff: tio.c_iflag |= IXON | IXOFF; break;
    case kFlowRtsCts:
    case kFlowBoth: tio.c_cflag |= CRTSCTS; break;
    // termios has no DTR/DSR handshake: DTR stays raised and the line runs
    // without flow control, which is what a device that never drops DSR sees.
    case kFlowDtrDsr:
    default: break;
  }

  speed_t speed = standardSpeed(s.baud);
  if (speed == B0) {
    customRate = true;
    speed = B38400;
  }
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  return kOk;
}

}  // namespace platform::posix
