#include "gps/status_view.hpp"

#include "base/text.hpp"

namespace gps {

namespace {

std::string trimmed(const std::string& s) { return base::trimRight(base::trimLeft(s)); }

// The texts that are not blank, trimmed, between separators.
std::string joined(std::initializer_list<std::string> parts, const char* separator = "  ") {
  std::string out;
  for (const std::string& part : parts) {
    const std::string t = trimmed(part);
    if (t.empty()) continue;
    if (!out.empty()) out += separator;
    out += t;
  }
  return out;
}

}  // namespace

std::vector<std::string> mainStatusLines(const StatusView& view) {
  if (!view.enabled) return {};
  const Position& p = view.data.position;
  const DisplayTexts& t = view.data.texts;
  std::vector<std::string> lines;
  lines.push_back("GPS: " + joined({p.latitudeText, p.longitudeText, p.elevationText}));
  lines.push_back(joined({t.satellites, t.hdop, t.pdop, t.fixType, t.dimension, t.cog}));
  lines.push_back(p.utcTimeText.empty() ? std::string("UTC: --") : "UTC: " + p.utcDateText + " " + p.utcTimeText);
  std::string status = trimmed(p.statusText);
  if (status.empty() && !view.detected) status = "Waiting for GPS";
  if (!view.clockNote.empty()) status = status.empty() ? view.clockNote : status + "  " + view.clockNote;
  lines.push_back(status);
  return lines;
}

std::string editStatusLine(const StatusView& view) {
  if (!view.enabled) return {};
  const Position& p = view.data.position;
  const std::string status = trimmed(p.statusText);
  if (!status.empty()) return status;
  if (!view.detected) return "Waiting for GPS";
  const DisplayTexts& t = view.data.texts;
  // Short enough to stand beside the edit window's title.
  return joined({p.latitudeText, p.longitudeText, t.satellites, t.fixType}, " ");
}

}  // namespace gps
