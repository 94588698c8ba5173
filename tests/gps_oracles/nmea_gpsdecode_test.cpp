// Our NMEA decoding beside gpsd's gpsdecode on the same generated stream:
// a few hundred positions over the globe in all four quarters, with GSA, VTG
// and RMC. gpsdecode's debug reports print every value with two decimals, so
// positions, altitude, PDOP, HDOP and course must agree within 0.005.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "gps/nmea.hpp"
#include "support/nmea_sentence.hpp"

namespace {

constexpr int kEpochs = 400;
constexpr double kPrinted = 0.005 + 1e-9;  // gpsdecode's rounding to two decimals

using gpstest::nmea;

struct Epoch {
  double latitude, longitude, altitude, separation, pdop, hdop, course;
  std::string gga, gsa, vtg, rmc;
};

std::vector<Epoch> generated() {
  std::vector<Epoch> out;
  char body[200];
  for (int i = 0; i < kEpochs; ++i) {
    Epoch e{};
    e.latitude = -89.5 + std::fmod(i * 7.3517, 179.0);
    e.longitude = -179.7 + std::fmod(i * 13.0417, 359.4);
    e.altitude = -50 + std::fmod(i * 37.77, 4000.0);
    e.separation = -40 + std::fmod(i * 1.3, 80.0);
    e.pdop = 1.0 + (i % 17) * 0.35;
    e.hdop = 0.6 + (i % 13) * 0.2;
    e.course = 0.5 + std::fmod(i * 17.31, 359.0);
    const int h = i / 3600 % 24, m = i / 60 % 60, s = i % 60;
    const std::string la = gpstest::nmeaAngle(e.latitude, 2, 'N', 'S'), lo = gpstest::nmeaAngle(e.longitude, 3, 'E', 'W');
    std::snprintf(body, sizeof body, "GPGGA,%02d%02d%02d.00,%s,%s,%d,%02d,%.1f,%.2f,M,%.1f,M,,", 10 + h, m, s, la.c_str(),
                  lo.c_str(), 1 + i % 2, 5 + i % 8, e.hdop, e.altitude, e.separation);
    e.gga = nmea(body);
    std::snprintf(body, sizeof body, "GPGSA,A,3,04,05,,09,12,,,24,,,,,%.2f,%.1f,2.1", e.pdop, e.hdop);
    e.gsa = nmea(body);
    std::snprintf(body, sizeof body, "GPVTG,%.2f,T,,M,%.1f,N,%.1f,K,A", e.course, (i % 30) * 0.5, (i % 30) * 0.926);
    e.vtg = nmea(body);
    std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.00,A,%s,%s,%.1f,%.2f,050324,%.1f,%c", 10 + h, m, s, la.c_str(),
                  lo.c_str(), (i % 30) * 0.5, e.course, (i % 20) * 0.5, i % 2 ? 'E' : 'W');
    e.rmc = nmea(body);
    // Rounded as the sentences carry them.
    e.altitude = std::round(e.altitude * 100) / 100;
    e.course = std::round(e.course * 100) / 100;
    out.push_back(e);
  }
  return out;
}

struct Decoded {
  std::vector<std::array<double, 3>> gga;  // lat, lon, altitude above sea level
  std::vector<std::array<double, 2>> gsa;  // pdop, hdop
  std::vector<double> vtg;                 // true course
  std::vector<std::array<double, 2>> rmc;  // lat, lon
};

std::string run(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  pclose(p);
  return out;
}

Decoded gpsdecodeOf(const std::string& path) {
  // Its "DATA" reports, cut out by grep (the debug output is tens of
  // megabytes, and the VTG report ends without a line break).
  const std::string out =
      run("gpsdecode -d -D 9 < " + path +
          " 2>&1 | grep -oE 'NMEA0183: (GGA: hhmmss|RMC: ddmmyy|VTG: course\\(T\\)|xxGSA: mode)=[^ ,]*(,? [a-zA-Z()]+=-?[0-9.]+)*'");
  Decoded d;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t stop = out.find('\n', start);
    if (stop == std::string::npos) stop = out.size();
    const std::string line = out.substr(start, stop - start);
    start = stop + 1;
    double a = 0, b = 0, c = 0;
    if (std::sscanf(line.c_str(), "NMEA0183: GGA: hhmmss=%*s lat=%lf lon=%lf altMSL=%lf", &a, &b, &c) == 3)
      d.gga.push_back({a, b, c});
    else if (std::sscanf(line.c_str(), "NMEA0183: xxGSA: mode=%*d used=%*d pdop=%lf hdop=%lf", &a, &b) == 2)
      d.gsa.push_back({a, b});
    else if (std::sscanf(line.c_str(), "NMEA0183: VTG: course(T)=%lf", &a) == 1)
      d.vtg.push_back(a);
    else if (std::sscanf(line.c_str(), "NMEA0183: RMC: ddmmyy=%*s hhmmss=%*s lat=%lf lon=%lf", &a, &b) == 2)
      d.rmc.push_back({a, b});
  }
  return d;
}

TEST(NmeaOracle, PositionsAltitudeDopAndCourseAgreeWithGpsdecode) {
  if (std::system("command -v gpsdecode >/dev/null 2>&1") != 0) GTEST_SKIP() << "gpsdecode is not installed";
  const std::vector<Epoch> epochs = generated();
  // One RMC before any GGA: the position our receiver shows as old.
  std::string stream = epochs[0].rmc + "\r\n";
  for (const Epoch& e : epochs) stream += e.gga + "\r\n" + e.gsa + "\r\n" + e.vtg + "\r\n" + e.rmc + "\r\n";
  char path[] = "/tmp/tallyfin-nmea-oracle-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(path, std::ios::binary) << stream;
  const Decoded theirs = gpsdecodeOf(path);
  std::remove(path);
  ASSERT_EQ(theirs.gga.size(), epochs.size());
  ASSERT_EQ(theirs.gsa.size(), epochs.size());
  ASSERT_EQ(theirs.vtg.size(), epochs.size());
  ASSERT_EQ(theirs.rmc.size(), epochs.size() + 1);

  // Ours: the whole stream through the assembler, queue and handlers.
  gps::GpsData d;
  gps::DecodeInput in;
  in.utcNow = {2024, 3, 5, 10, 20, 30, 0, 2};
  gps::SentenceAssembler assembler;
  gps::SentenceQueue queue;
  std::size_t gga = 0, gsa = 0, vtg = 0, rmc = 0;
  std::string taken;
  for (unsigned char c : stream) {
    if (!assembler.feed(c) || !gps::keptSentence(assembler.sentence())) continue;
    ASSERT_TRUE(queue.put(assembler.sentence()));
    ASSERT_TRUE(queue.take(taken));
    ASSERT_TRUE(gps::handleSentence(d, taken, in).handled) << taken;
    const std::string type = taken.substr(3, 3);
    if (type == "GGA") {
      const auto& t = theirs.gga[gga];
      EXPECT_NEAR(d.position.latitude, t[0], kPrinted) << taken;
      EXPECT_NEAR(d.position.longitude, t[1], kPrinted) << taken;
      EXPECT_NEAR(d.position.altitudeMsl, t[2], kPrinted) << taken;
      EXPECT_NEAR(d.position.heightEllipsoid - d.position.altitudeMsl, epochs[gga].separation, 0.05 + 1e-9) << taken;
      EXPECT_NEAR(d.position.latitude, epochs[gga].latitude, 1e-5) << taken;
      EXPECT_NEAR(d.quality.hdop, theirs.gsa[gga][1], kPrinted) << taken;
      ++gga;
    } else if (type == "GSA") {
      EXPECT_NEAR(d.quality.pdop, theirs.gsa[gsa][0], kPrinted) << taken;
      ++gsa;
    } else if (type == "VTG") {
      EXPECT_NEAR(d.quality.course, theirs.vtg[vtg], kPrinted) << taken;
      ++vtg;
    } else if (type == "RMC" && rmc++ == 0) {
      EXPECT_NEAR(d.position.latitude, theirs.rmc[0][0], kPrinted);
      EXPECT_NEAR(d.position.longitude, theirs.rmc[0][1], kPrinted);
      EXPECT_EQ(d.position.statusText, "** OLD ** Waiting for Update");
    }
  }
  EXPECT_EQ(gga, epochs.size());
  EXPECT_EQ(vtg, epochs.size());
}

}  // namespace
