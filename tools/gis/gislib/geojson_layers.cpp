#include "gislib/geojson_layers.hpp"

#include <set>
#include <utility>

#include "base/text.hpp"
#include "gislib/json_text.hpp"

namespace gislib {

namespace {

// Builds one feature's properties object, members in the order added.
class Properties {
 public:
  void text(const std::string& name, std::string_view value) {
    member(name);
    appendJsonString(out_, value);
  }
  void number(const std::string& name, std::optional<double> value) {
    member(name);
    out_ += numberText(value);
  }
  template <typename Get>
  void textArray(const std::string& name, const std::vector<CoordinateRecord>& records, Get get) {
    member(name);
    out_.push_back('[');
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (i) out_.push_back(',');
      appendJsonString(out_, get(records[i]));
    }
    out_.push_back(']');
  }
  template <typename Get>
  void numberArray(const std::string& name, const std::vector<CoordinateRecord>& records, Get get) {
    member(name);
    out_.push_back('[');
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (i) out_.push_back(',');
      out_ += numberText(get(records[i]));
    }
    out_.push_back(']');
  }
  std::string done() { return out_ + "}"; }

 private:
  void member(const std::string& name) {
    out_.push_back(out_.size() > 1 ? ',' : '{');
    appendJsonString(out_, name);
    out_.push_back(':');
  }
  std::string out_ = "";
};

// The members every feature of a file starts with; the keys and F_TYPE are
// those of record r.
void fileProperties(Properties& p, const CoordinateFile& f, const CoordinateRecord& r) {
  p.text("FILE", nameText(f.fileName));
  p.number("DATASET", f.name.datasetNumber);
  p.number("LEVEL", f.name.level);
  p.text("LEVEL_NAME", nameText(f.name.tableName));
  for (std::size_t k = 0; k < r.keys.size(); ++k) p.text("L" + std::to_string(k + 1) + "_Key", r.keys[k]);
  p.text("F_TYPE", r.fType);
}

std::string position(const CoordinateRecord& r) {
  return "[" + coordinateText(r.longitude) + "," + coordinateText(r.latitude) + "]";
}

std::string feature(const std::string& geometryType, const std::string& coordinates, const std::string& properties) {
  std::string out = "{\"type\":\"Feature\",\"geometry\":{\"type\":";
  appendJsonString(out, geometryType);
  out += ",\"coordinates\":" + coordinates + "},\"properties\":" + properties + "}";
  return out;
}

std::string collection(const std::vector<std::string>& features) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (std::size_t i = 0; i < features.size(); ++i) {
    out += i ? ",\n" : "\n";
    out += features[i];
  }
  out += "\n]}\n";
  return out;
}

// The properties of a line or polygon file.
std::string pathProperties(const CoordinateFile& f) {
  const std::vector<CoordinateRecord>& rs = f.records;
  Properties p;
  fileProperties(p, f, rs.front());
  p.number("VERTICES", static_cast<double>(rs.size()));
  p.text("FIRST_DOF", rs.front().utcDate);
  p.text("FIRST_TOF", rs.front().utcTime);
  p.text("LAST_DOF", rs.back().utcDate);
  p.text("LAST_TOF", rs.back().utcTime);
  p.textArray("UTC_TOF", rs, [](const CoordinateRecord& r) { return r.utcTime; });
  p.textArray("FIX", rs, [](const CoordinateRecord& r) { return r.fix; });
  p.numberArray("SV", rs, [](const CoordinateRecord& r) { return r.satellites; });
  p.numberArray("DOP", rs, [](const CoordinateRecord& r) { return r.dop; });
  return p.done();
}

std::string vertexList(const std::vector<CoordinateRecord>& rs, bool closeRing) {
  std::string out = "[";
  for (std::size_t i = 0; i < rs.size(); ++i) {
    if (i) out.push_back(',');
    out += position(rs[i]);
  }
  if (closeRing && position(rs.back()) != position(rs.front())) out += "," + position(rs.front());
  return out + "]";
}

}  // namespace

std::string pointsLayer(const std::vector<CoordinateFile>& files) {
  std::vector<std::string> features;
  for (const CoordinateFile& f : files) {
    if (f.shape != gps::LogShape::kPoint) continue;
    for (const CoordinateRecord& r : f.records) {
      Properties p;
      fileProperties(p, f, r);
      p.text("UTC_DOF", r.utcDate);
      p.text("UTC_TOF", r.utcTime);
      p.text("FIX", r.fix);
      p.number("SV", r.satellites);
      p.number("DOP", r.dop);
      p.number("ELEVATION", r.elevation);
      features.push_back(feature("Point", position(r), p.done()));
    }
  }
  return collection(features);
}

std::string linesLayer(const std::vector<CoordinateFile>& files, std::vector<std::string>& notes) {
  std::vector<std::string> features;
  for (const CoordinateFile& f : files) {
    if (f.shape != gps::LogShape::kLine) continue;
    if (f.records.size() < 2) {
      notes.push_back(base::format("%s: line left out: %d position(s), a line needs 2",
                                   nameText(f.fileName).c_str(), static_cast<int>(f.records.size())));
      continue;
    }
    features.push_back(feature("LineString", vertexList(f.records, false), pathProperties(f)));
  }
  return collection(features);
}

std::string polygonsLayer(const std::vector<CoordinateFile>& files, std::vector<std::string>& notes) {
  std::vector<std::string> features;
  for (const CoordinateFile& f : files) {
    if (f.shape != gps::LogShape::kPolygon) continue;
    // Distinct as written: two records nine decimals apart are one vertex.
    std::set<std::string> distinct;
    for (const CoordinateRecord& r : f.records) distinct.insert(position(r));
    if (distinct.size() < 3) {
      notes.push_back(base::format("%s: polygon left out: %d distinct position(s), a polygon needs 3",
                                   nameText(f.fileName).c_str(), static_cast<int>(distinct.size())));
      continue;
    }
    features.push_back(feature("Polygon", "[" + vertexList(f.records, true) + "]", pathProperties(f)));
  }
  return collection(features);
}

}  // namespace gislib
