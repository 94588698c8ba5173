// The application settings, version header, carried files and tables.
#include <algorithm>
#include <cstdlib>

#include "apps/package_format.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table_layout.hpp"
#include "tfabuild/csv.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

// A member name the package can carry and the runtime can extract.
bool memberName(const Node& node, const std::string& name) {
  std::string narrow = platform::toNarrow(name);
  if (narrow.size() > 59 || !apps::isSafeMemberName(narrow)) {
    node.error("\"" + name + "\" cannot be a file name of a package (at most 59 characters, no path)");
    return false;
  }
  return true;
}

void readProgramList(Reader& r, const Node& list, std::vector<std::string>& out) {
  if (!list.array()) return;
  if (list.size() > apps::layout::kProgramListSize) list.error("at most 10 programs");
  for (std::size_t i = 0; i < list.size() && i < apps::layout::kProgramListSize; ++i) {
    std::string name = r.program(list.item(i));
    if (!name.empty()) out.push_back(name);
  }
}

// A value of a table row, checked against its field; false when refused.
bool rowValue(const Node& at, const tablestore::FieldSpec& field, const Json& value, std::string& out) {
  if (value.is_string()) {
    out = value.get<std::string>();
  } else if (value.is_number()) {
    out = value.is_number_float() ? base::format("%.15g", value.get<double>()) : value.dump();
  } else {
    at.error("expected text or a number, got " + shown(value));
    return false;
  }
  if (field.type == 'N') {
    std::string t = base::trim(out);
    char* end = nullptr;
    std::strtod(t.c_str(), &end);
    if (!t.empty() && (end == nullptr || *end != '\0')) {
      at.error("field " + field.name + ": \"" + out + "\" is not a number");
      return false;
    }
    std::string room(static_cast<std::size_t>(field.length), ' ');
    if (!t.empty() && !tablestore::formatNumber(tablestore::parseNumber(t), field.decimals, room.data(), field.length)) {
      at.error("field " + field.name + ": " + out + " does not fit " + std::to_string(field.length) + "." +
               std::to_string(field.decimals));
      return false;
    }
  } else if (platform::toNarrow(out).size() > static_cast<std::size_t>(field.length)) {
    at.error("field " + field.name + ": \"" + out + "\" is longer than " + std::to_string(field.length));
    return false;
  }
  return true;
}

void readTableFields(const Node& fields, TableModel& t) {
  if (!fields.required() || !fields.array()) return;
  if (fields.size() == 0 || fields.size() > 128) fields.error("a table has 1 to 128 fields");
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Node f = fields.item(i);
    if (!f.object({"name", "type", "width", "decimals"})) continue;
    tablestore::FieldSpec desc;
    desc.name = f["name"].text();
    if (!validFieldName(desc.name)) f["name"].error("\"" + desc.name + "\" is not a field name (a letter, then letters, digits or _; at most 10)");
    for (const auto& other : t.fields) {
      if (base::equalsNoCase(other.name, desc.name)) f["name"].error("field \"" + desc.name + "\" twice");
    }
    desc.type = static_cast<char>(f["type"].choice('C', {{"C", 'C'}, {"N", 'N'}}));
    desc.length = static_cast<int>(
        f["width"].integer(desc.type == 'N' ? 10 : 1, 1, desc.type == 'N' ? 20 : tablestore::kMaxLength));
    warnUnportableWidth(f["width"], desc.type, desc.length);
    desc.decimals = static_cast<int>(f["decimals"].integer(0, 0, 15));
    if (desc.type == 'C' && desc.decimals != 0) f["decimals"].error("a character field has no decimals");
    if (desc.decimals > 0 && desc.decimals > desc.length - 2) f["decimals"].error("leaves no room for the point");
    f["name"].required();
    t.fields.push_back(desc);
  }
  int recordLength = 1;  // the deletion flag
  for (const auto& field : t.fields) recordLength += field.length;
  if (recordLength > tablestore::kMaxLength) {
    fields.error("the record would be " + std::to_string(recordLength) + " bytes long; a table holds at most " +
                 std::to_string(tablestore::kMaxLength));
  }
}

void readTableRows(Reader& r, const Node& node, TableModel& t) {
  Node rows = node["rows"], csv = node["csv"];
  if (rows.present() && csv.present()) node.error("give \"rows\" or \"csv\", not both");
  if (rows.array()) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      Node row = rows.item(i);
      if (!row.array()) continue;
      if (row.size() != t.fields.size()) {
        row.error("has " + std::to_string(row.size()) + " values for " + std::to_string(t.fields.size()) + " fields");
        continue;
      }
      std::vector<std::string> values(t.fields.size());
      bool good = true;
      for (std::size_t j = 0; j < t.fields.size(); ++j) good = rowValue(row.item(j), t.fields[j], row.item(j).json(), values[j]) && good;
      if (good) t.rows.push_back(std::move(values));
    }
  } else if (csv.present()) {
    std::string path = csv.text(), bytes, error;
    if (path.empty() || !r.readFile(csv, path, bytes)) return;
    std::vector<CsvRow> lines;
    if (!parseCsv(bytes, lines, error)) {
      csv.error(path + " " + error);
      return;
    }
    if (lines.empty()) {
      csv.error(path + " has no header line");
      return;
    }
    const CsvRow& header = lines[0];
    bool headerOk = header.fields.size() == t.fields.size();
    for (std::size_t j = 0; headerOk && j < header.fields.size(); ++j) {
      headerOk = base::equalsNoCase(base::trim(header.fields[j]), t.fields[j].name);
    }
    if (!headerOk) {
      std::string names;
      for (const auto& f : t.fields) names += (names.empty() ? "" : ",") + f.name;
      csv.error(path + " line " + std::to_string(header.line) + ": the header must name the fields " + names);
      return;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const CsvRow& line = lines[i];
      Node at(nullptr, csv.path() + " (" + path + " line " + std::to_string(line.line) + ")", csv.diagnostics());
      if (line.fields.size() != t.fields.size()) {
        at.error("has " + std::to_string(line.fields.size()) + " values for " + std::to_string(t.fields.size()) + " fields");
        continue;
      }
      std::vector<std::string> values(t.fields.size());
      bool good = true;
      for (std::size_t j = 0; j < t.fields.size(); ++j) good = rowValue(at, t.fields[j], Json(line.fields[j]), values[j]) && good;
      if (good) t.rows.push_back(std::move(values));
    }
  }
}

}  // namespace

void readFiles(Reader& r, const Node& files) {
  if (!files.array()) return;
  for (std::size_t i = 0; i < files.size(); ++i) {
    Node f = files.item(i);
    FileModel file;
    std::string path;
    if (f.present() && f.json().is_string()) {
      path = f.text();
      std::size_t cut = path.find_last_of("/\\");
      file.name = cut == std::string::npos ? path : path.substr(cut + 1);
    } else {
      if (!f.object({"name", "path"})) {
        if (!f.present()) f.error("missing");
        continue;
      }
      f["path"].required();
      path = f["path"].text();
      std::size_t cut = path.find_last_of("/\\");
      file.name = f["name"].text(cut == std::string::npos ? path : path.substr(cut + 1));
    }
    if (path.empty()) continue;
    if (!memberName(f, file.name)) continue;
    if (!r.readFile(f, path, file.bytes)) continue;
    file.path = f.path();
    r.app.files.push_back(std::move(file));
  }
}

void readTables(Reader& r, const Node& tables) {
  if (!tables.array()) return;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    Node node = tables.item(i);
    if (!node.object({"name", "fields", "rows", "csv"})) continue;
    TableModel t;
    t.path = node.path();
    node["name"].required();
    t.name = node["name"].text({}, apps::layout::kFileNameSize - 1);
    if (t.name.empty() || !memberName(node["name"], t.name)) continue;
    readTableFields(node["fields"], t);
    if (t.fields.empty()) continue;
    readTableRows(r, node, t);
    r.app.tables.push_back(std::move(t));
  }
}

void readApplication(Reader& r, const Node& root) {
  Node a = root["application"];
  if (!a.required() || !a.object({"name", "compiled", "useDatasets", "keepChildFields", "keepStatusFields",
                                  "keepPosition", "clearCoordFiles", "gps", "programs", "storedValues",
                                  "options"}))
    return;
  AppModel& app = r.app;
  a["name"].required();
  app.name = a["name"].text({}, 31);
  // The name becomes a folder and the package's file name.
  bool nameOk = !app.name.empty() && app.name.front() != ' ' && app.name.back() != ' ';
  for (char ch : app.name) nameOk = nameOk && (ch == ' ' || plainName(std::string_view(&ch, 1), false));
  if (!app.name.empty() && !nameOk) {
    a["name"].error("\"" + app.name + "\" is not an application name (letters, digits, blanks inside, _ and -)");
  }
  app.compiled = a["compiled"].flag(true);
  app.useDatasets = a["useDatasets"].flag(true);
  app.keepChildFields = a["keepChildFields"].flag(false);
  app.keepStatusFields = a["keepStatusFields"].flag(false);
  app.keepPosition = a["keepPosition"].flag(false);
  app.clearCoordFiles = a["clearCoordFiles"].flag(false);
  Node gps = a["gps"];
  if (gps.object({"useFilters", "requireDgps", "require3d", "minSatellites", "maxDop"})) {
    app.gpsLimits[0] = gps["useFilters"].flag(false);
    app.gpsLimits[1] = gps["requireDgps"].flag(false);
    app.gpsLimits[2] = gps["require3d"].flag(false);
    app.gpsLimits[3] = static_cast<int>(gps["minSatellites"].integer(0, 0, 32));
    app.gpsLimits[4] = static_cast<int>(gps["maxDop"].integer(0, 0, 99));
  }
  readProgramList(r, a["programs"], app.programs);
  Node stored = a["storedValues"];
  if (stored.array()) {
    if (stored.size() > 4) stored.error("at most 4 stored values");
    for (std::size_t i = 0; i < stored.size() && i < 4; ++i) app.storedValues[i] = stored.item(i).number(0);
  }
  Node options = a["options"];
  if (options.present() && !options.json().is_object()) options.error("expected an object of offsets");
  if (options.present() && options.json().is_object()) {
    for (auto it = options.json().begin(); it != options.json().end(); ++it) {
      Node value = options[it.key()];
      std::size_t offset = 0;
      bool known = false;
      for (std::size_t o : apps::layout::app_ctl::kOptionOffsets) {
        if (it.key() == std::to_string(o)) {
          known = true;
          offset = o;
        }
      }
      if (!known) {
        value.error("no application option at offset " + it.key());
        continue;
      }
      app.options.emplace_back(offset, static_cast<int>(value.integer(0, -32768, 32767)));
    }
  }

  Node v = root["version"];
  if (v.object({"major", "minor", "build", "date", "structure", "structureDate", "structureTime", "password"})) {
    VersionModel& ver = app.version;
    ver.present = true;
    ver.major = static_cast<int>(v["major"].integer(1, 0, 999));
    ver.minor = static_cast<int>(v["minor"].integer(0, 0, 999));
    ver.build = static_cast<int>(v["build"].integer(0, 0, 99999));
    ver.date = v["date"].text({}, 10);
    ver.structure = static_cast<int>(v["structure"].integer(1, 0, 9999));
    ver.structureDate = v["structureDate"].text({}, 10);
    ver.structureTime = v["structureTime"].text({}, 8);
    ver.password = v["password"].text({}, 25);
    for (char c : ver.password) {
      if (static_cast<unsigned char>(c) >= 128) {
        v["password"].error("the password may hold only ASCII characters");
        break;
      }
    }
  }
}

}  // namespace tfabuild
