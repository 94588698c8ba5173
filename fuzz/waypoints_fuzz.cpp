// libFuzzer target for waypoint tables (an application may carry its own):
// any bytes are written as Waypoints.dbf, read into the navigation list and
// through the table's record reads, and the list is laid out as the
// navigation picture with every entry as a background point.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gps/nav_scene.hpp"
#include "gps/waypoint_table.hpp"
#include "scratch_file.hpp"

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string path = fuzz_support::scratchPath("Waypoints.dbf");
  if (!fuzz_support::writeScratch(path, data, size)) return 0;
  const std::vector<gps::WaypointEntry> list = gps::loadWaypointList(path);
  {
    gps::WaypointTable table;
    if (table.open(path) == gps::WaypointTable::Opened::kExisting) {
      gps::WaypointRecord r;
      for (int n = 0; n <= table.count() + 1 && n < 256; ++n) (void)table.read(n, r);
    }
    (void)table.close();
  }
  gps::GpsData state;
  state.position.valid = 1;
  gps::TrackLog track;
  for (const auto& w : list) track.add(w.latitude, w.longitude);
  gps::NavInputs in;
  in.gps = &state;
  in.list = &list;
  in.start = 1;
  in.destination = static_cast<int>(list.size()) - 1;
  in.background = &list;
  in.track = &track;
  const gps::NavScene scene = gps::buildNavScene(in);
  ui::CanvasMetrics pixels;
  pixels.width = 640;
  pixels.height = 480;
  ui::CanvasMetrics cells = pixels;
  cells.width = 196;
  cells.height = 108;
  cells.charWidth = 2;
  cells.lineHeight = 4;
  cells.scalableText = false;
  volatile std::size_t sink = 0;
  for (const ui::CanvasMetrics& m : {pixels, cells}) {
    const ui::Drawing d = gps::layoutNavScene(scene, m);
    sink = sink + d.circles.size() + d.texts.size();
  }
  return 0;
}
