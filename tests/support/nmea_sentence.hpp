#pragma once
// Builds NMEA sentences for tests and benchmarks: "$" body "*" and the XOR
// checksum, and the angle fields of a position.
#include <cmath>
#include <cstdio>
#include <string>

namespace gpstest {

inline std::string nmea(const std::string& body) {
  unsigned sum = 0;
  for (unsigned char c : body) sum ^= c;
  char hex[4];
  std::snprintf(hex, sizeof hex, "%02X", sum & 0xFF);
  return "$" + body + "*" + hex;
}

// ddmm.mmmm (degreeDigits 2) or dddmm.mmmm (3), a comma and the hemisphere
// letter. Rounded in ten-thousandths of a minute, so the minutes never print as 60.
inline std::string nmeaAngle(double degrees, int degreeDigits, char positive, char negative) {
  const long long units = std::llround(std::fabs(degrees) * 60 * 10000);
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld%07.4f,%c", degreeDigits, units / 600000, (units % 600000) / 10000.0,
                degrees < 0 ? negative : positive);
  return text;
}

}  // namespace gpstest
