#include "tfabuild/reader.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace tfabuild {

bool plainName(std::string_view text, bool dotAllowed) {
  if (text.empty()) return false;
  for (char c : text) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-' || (dotAllowed && c == '.');
    if (!ok) return false;
  }
  return text != "." && text != "..";
}

void warnUnportableWidth(const Node& width, char type, int length) {
  if (type != 'C' || length <= kWidestPortableCharField) return;
  width.warning("a character field wider than " + std::to_string(kWidestPortableCharField) +
                " has a two-byte width that GIS tools (GDAL, QGIS, shapelib) and other dBase III readers "
                "read as one byte; they cannot read the table");
}

bool validFieldName(std::string_view text) {
  if (text.empty() || text.size() > 10) return false;
  if (!((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

bool Reader::readFile(const Node& node, const std::string& path, std::string& bytes) const {
  std::string full = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'))
                         ? path
                         : base::joinPath(baseDir, path, platform::kSep);
  int rc = platform::readWholeFile(full, bytes, std::int64_t{64} << 20);
  if (rc != 0) {
    node.error("cannot read \"" + full + "\" (" + platform::errorText(rc) + ")");
    return false;
  }
  return true;
}

int Reader::levelByTable(std::string_view name) const {
  for (std::size_t i = 0; i < app.levels.size(); ++i) {
    if (base::equalsNoCase(app.levels[i].table, name)) return static_cast<int>(i);
  }
  return -1;
}

ColumnRef Reader::column(const Node& node, int level) const {
  std::string ref = node.text();
  if (ref.empty()) {
    if (node.present()) node.error("expected a column name");
    return {};
  }
  int owner = level;
  std::string field = ref;
  std::size_t dot = ref.find('.');
  if (dot != std::string::npos) {
    std::string tableName = ref.substr(0, dot);
    field = ref.substr(dot + 1);
    owner = -1;
    for (int l = level; l >= 0; l = app.levels[static_cast<std::size_t>(l)].parent) {
      if (base::equalsNoCase(app.levels[static_cast<std::size_t>(l)].table, tableName)) {
        owner = l;
        break;
      }
    }
    if (owner < 0) {
      node.error("table \"" + tableName + "\" is not this level or a level above it");
      return {};
    }
  }
  const LevelModel& lm = app.levels[static_cast<std::size_t>(owner)];
  for (std::size_t k = 0; k < lm.columns.size(); ++k) {
    if (base::equalsNoCase(lm.columns[k].field, field)) return ColumnRef{lm.depth, static_cast<int>(k) + 1};
  }
  node.error("unknown column \"" + field + "\"");
  return {};
}

const ColumnModel* Reader::columnOf(int li, ColumnRef ref) const {
  for (int l = li; l >= 0 && ref.set(); l = app.levels[static_cast<std::size_t>(l)].parent) {
    const LevelModel& lm = app.levels[static_cast<std::size_t>(l)];
    if (lm.depth == ref.level) {
      if (ref.column < 1 || ref.column > static_cast<int>(lm.columns.size())) return nullptr;
      return &lm.columns[static_cast<std::size_t>(ref.column - 1)];
    }
  }
  return nullptr;
}

int Reader::ownColumn(const Node& node, int level) const {
  ColumnRef ref = column(node, level);
  if (!ref.set()) return 0;
  if (ref.level != app.levels[static_cast<std::size_t>(level)].depth) {
    node.error("must be a column of this level");
    return 0;
  }
  return ref.column;
}

std::string Reader::fileName(const Node& node) const {
  std::string name = node.text();
  if (name.empty()) {
    if (node.present()) node.error("expected a file name");
    return {};
  }
  for (const auto& t : app.tables) {
    if (base::equalsNoCase(t.name, name)) return t.name;
  }
  for (const auto& f : app.files) {
    if (base::equalsNoCase(f.name, name)) return f.name;
  }
  node.error("no table or file \"" + name + "\" in the description");
  return {};
}

const TableModel* Reader::table(std::string_view name) const {
  for (const auto& t : app.tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

std::string Reader::program(const Node& node) const {
  std::string name = node.text();
  if (name.empty()) {
    if (node.present()) node.error("expected a program file name");
    return {};
  }
  if (name.size() > apps::layout::kNameSlot - 1) {
    node.error("program name \"" + name + "\" is longer than 35 characters");
    return {};
  }
  for (const auto& f : app.files) {
    if (base::equalsNoCase(f.name, name)) return f.name;
  }
  node.error("no file \"" + name + "\" in files");
  return {};
}

}  // namespace tfabuild
