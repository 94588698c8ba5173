// A line log without a receiver or a window, for the test that kills it:
//
//   gps_log_writer FILE [--fixes N]
//
// Runs the program's line log (LogThread, interval 0: every fix) on FILE, a
// level-2 coordinate file, while the main thread hands it a new fix about
// every millisecond. Fix n lies at latitude 45 + n × 1e-6 (n counting on from
// the fixes FILE already holds), so a fix logged twice or lost in the middle
// shows in the latitudes. Without --fixes it runs until it is killed; with it
// it stops the log after N fixes and exits 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "gps/coordinate_file.hpp"
#include "gps/log_thread.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--fixes")) {
    std::fprintf(stderr, "usage: gps_log_writer FILE [--fixes N]\n");
    return 2;
  }
  const std::string path = argv[1];
  const long most = argc == 4 ? std::atol(argv[3]) : -1;
  long first = 0;
  {
    tablestore::TableStore store;
    if (tablestore::Table* t = store.openTable(path)) first = static_cast<long>(t->recordCount());
    store.closeAll();
  }
  gps::GpsState state;
  gps::LogThread log;
  gps::LogRequest request;
  request.shape = gps::LogShape::kLine;
  request.interval = 0;
  request.path = path;
  request.level = 2;
  request.keys = {"PLOT1", "TREE7"};
  request.levelName = "TREES";
  request.fType = "LINE";
  if (!log.start(state, request)) return 1;
  for (long n = first; most < 0 || n < first + most; ++n) {
    state.withLock([n](gps::GpsData& d) {
      d.position.valid = 1;
      d.position.latitude = 45.0 + static_cast<double>(n) * 1e-6;
      d.position.longitude = -122.0;
      d.position.heightEllipsoid = 100.0;
      d.position.fixTimeOfDay = static_cast<double>(n);
      d.position.fixChar = 'G';
      d.position.satellites = 8;
      d.position.hdop = 0.9;
      d.position.utcDateText = "12/09/2026";
      d.position.utcTimeText = "12:00:00";
      for (int& flag : d.newFix) flag = 1;
    });
    // Each fix is taken before the next comes. A busy machine's disk can
    // hold the log's write for long: up to 10 s, or a fix would be lost to
    // the test and not to the program.
    for (int wait = 0; wait < 50000 && state.snapshot().newFix[gps::kLineFix]; ++wait)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  log.stop();
  return 0;
}
