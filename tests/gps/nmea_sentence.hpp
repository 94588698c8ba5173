#pragma once
// Builds NMEA sentences for tests: "$" body "*" and the XOR checksum.
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

}  // namespace gpstest
