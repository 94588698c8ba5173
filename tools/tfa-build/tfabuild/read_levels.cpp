// The levels: their place in the hierarchy, settings, screens, events,
// program lists and GPS definition.
#include <array>
#include <string_view>

#include "base/text.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

// The depth of a level code (letters, then "_" to five characters; the
// first letter A), or 0 when it is not one.
int codeDepth(const std::string& code) {
  if (code.size() != 5 || code[0] != 'A') return 0;
  int depth = 0;
  while (depth < 5 && code[static_cast<std::size_t>(depth)] >= 'A' && code[static_cast<std::size_t>(depth)] <= 'Z') ++depth;
  for (int i = depth; i < 5; ++i) {
    if (code[static_cast<std::size_t>(i)] != '_') return 0;
  }
  return depth;
}

constexpr std::array<std::string_view, 15> kLevelKeys = {
    "code", "table", "name", "description", "blocked", "settings", "screens", "columns",
    "events", "programs", "random", "jumps", "serial", "conditions", "gps"};

constexpr std::array<std::string_view, apps::layout::level_header::kEventCount> kEventNames = {
    "fieldExit", "fieldExitChanged", "lineEntry", "lineExit", "newLine", "beforeChild",
    "afterChildChecks", "beforeLeave", "onLeave", "siblingJump", "beforeCheck", "insteadOfCheck",
    "afterCheck"};

void readColumnShape(const Node& c, ColumnModel& col, const LevelModel& level) {
  if (!c.present() || !c.json().is_object()) return;  // reported with the column's details
  Node field = c["field"];
  field.required();
  col.field = field.text({}, 10);
  if (!col.field.empty() && !validFieldName(col.field)) {
    field.error("\"" + col.field + "\" is not a field name (a letter, then letters, digits or _; at most 10)");
  }
  for (const auto& other : level.columns) {
    if (!col.field.empty() && base::equalsNoCase(other.field, col.field)) field.error("column \"" + col.field + "\" twice in this level");
  }
  col.type = static_cast<char>(c["type"].choice('C', {{"C", 'C'}, {"N", 'N'}}));
  // A character column holds at most what the edit buffer of the level's
  // header carries to runtime programs (255 characters).
  col.width = static_cast<int>(c["width"].integer(col.type == 'N' ? 8 : 10, 1, col.type == 'N' ? 20 : 255));
  warnUnportableWidth(c["width"], col.type, col.width);
  col.decimals = static_cast<int>(c["decimals"].integer(0, 0, 15));
  if (col.type == 'C' && col.decimals != 0) c["decimals"].error("a character field has no decimals");
  if (col.decimals > 0 && col.decimals > col.width - 2) c["decimals"].error("leaves no room for the point");
  col.title = c["title"].text(col.field, 72);
}

void readSettings(const Node& s, LevelModel& l) {
  if (!s.object({"insert", "delete", "autoNewLine", "checkOnLineChange", "checkOnLeave", "checkOnSibling",
                 "revalidate", "removeEmptyLines", "checkLineBeforeChild", "maxLines", "firstLine",
                 "firstEnterableColumn", "lastEnterableColumn"}))
    return;
  l.insertAllowed = s["insert"].flag(true);
  l.deleteAllowed = s["delete"].flag(true);
  l.autoNewLine = s["autoNewLine"].flag(true);
  l.checkOnLineChange = static_cast<int>(s["checkOnLineChange"].integer(0, -1, 1));
  l.checkOnLeave = s["checkOnLeave"].flag(true);
  l.checkOnSibling = s["checkOnSibling"].flag(false);
  l.revalidate = s["revalidate"].flag(false);
  l.removeEmptyLines = s["removeEmptyLines"].flag(false);
  l.checkLineBeforeChild = s["checkLineBeforeChild"].flag(false);
  l.maxLines = static_cast<std::int32_t>(s["maxLines"].integer(0, 0, 2147483647));
  l.firstLine = static_cast<std::int32_t>(s["firstLine"].integer(1, 1, 2147483647));
}

std::array<int, 2> readAt(const Node& at) {
  if (!at.array() || at.size() != 2) {
    if (at.present()) at.error("expected [row, column]");
    return {0, 0};
  }
  return {static_cast<int>(at.item(0).integer(0, 0, 200)), static_cast<int>(at.item(1).integer(0, 0, 400))};
}

void readScreens(Reader& r, const Node& screens, int li) {
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (screens.array()) {
    if (screens.size() > apps::layout::level_header::kMaxScreens) screens.error("at most 8 screens");
    for (std::size_t i = 0; i < screens.size() && i < apps::layout::level_header::kMaxScreens; ++i) {
      Node s = screens.item(i);
      ScreenModel sm;
      if (s.object({"type", "colours", "promptRow", "lineNumbers", "lineLabel", "twoLineTitles", "gridRows",
                    "headings"})) {
        sm.displayType = s["type"].choice(0, {{"virtual", 0}, {"line", 1}, {"line2", 2}}, 0, 10);
        Node colours = s["colours"];
        if (colours.present() && (!colours.array() || colours.size() != 2)) colours.error("expected [text, background]");
        if (colours.size() == 2) {
          sm.dataText = static_cast<int>(colours.item(0).integer(15, 0, 15));
          sm.dataBack = static_cast<int>(colours.item(1).integer(7, 0, 15));
        }
        sm.promptRow = static_cast<int>(s["promptRow"].integer(0, 0, 200));
        sm.lineNumbers = s["lineNumbers"].flag(sm.displayType == 0);
        sm.lineLabel = s["lineLabel"].text("Line", apps::layout::screen::kLineLabelSize - 1);
        sm.twoLineTitles = s["twoLineTitles"].flag(false);
        Node grid = s["gridRows"];
        if (grid.present()) {
          std::array<int, 2> g = readAt(grid);
          sm.firstGridRow = g[0];
          sm.lastGridRow = g[1];
          if (g[0] > g[1]) grid.error("the first grid row lies below the last");
        }
        Node headings = s["headings"];
        if (headings.array()) {
          if (headings.size() > apps::layout::screen::kMaxHeadings) headings.error("at most 6 heading items");
          for (std::size_t h = 0; h < headings.size() && h < apps::layout::screen::kMaxHeadings; ++h) {
            Node hn = headings.item(h);
            if (!hn.object({"label", "column", "at", "width"})) continue;
            HeadingModel hm;
            hm.label = hn["label"].text({}, apps::layout::screen::kHeadingLabelSize - 1);
            hn["column"].required();
            hm.column = r.column(hn["column"], li);
            std::array<int, 2> at = readAt(hn["at"]);
            hm.row = at[0];
            hm.col = at[1];
            hm.width = static_cast<int>(hn["width"].integer(10, 1, 254));
            sm.headings.push_back(hm);
          }
        }
      }
      l.screens.push_back(sm);
    }
  }
  if (l.screens.empty()) l.screens.push_back(ScreenModel{});
}

void readGps(Reader& r, const Node& g, int li) {
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (!g.object({"points", "average", "allowUnfinished", "latitude", "longitude", "elevation", "lines",
                 "lineInterval", "polygons", "polygonInterval"}))
    return;
  l.gpsPointMode = g["points"].choice(0, {{"none", 0}, {"columns", 1}, {"file", 2}});
  l.gpsAverage = static_cast<int>(g["average"].integer(0, 0, 999));
  l.gpsAllowUnfinished = g["allowUnfinished"].flag(false);
  auto numeric = [&](const char* key) {
    Node n = g[key];
    if (!n.present()) return 0;
    int k = r.ownColumn(n, li);
    if (k > 0 && l.columns[static_cast<std::size_t>(k - 1)].type != 'N') n.error("a GPS column must be numeric");
    return k;
  };
  l.gpsLat = numeric("latitude");
  l.gpsLon = numeric("longitude");
  l.gpsElev = numeric("elevation");
  if (l.gpsPointMode == 1 && (l.gpsLat == 0 || l.gpsLon == 0)) {
    g["points"].error("points stored in columns need \"latitude\" and \"longitude\"");
  }
  l.gpsLines = g["lines"].flag(false);
  l.gpsLineInterval = static_cast<int>(g["lineInterval"].integer(0, -32768, 32767));
  l.gpsPolygons = g["polygons"].flag(false);
  l.gpsPolygonInterval = static_cast<int>(g["polygonInterval"].integer(0, -32768, 32767));
}

}  // namespace

void readLevelShapes(Reader& r, const Node& levels) {
  if (!levels.required() || !levels.array()) return;
  if (levels.size() == 0) levels.error("an application has at least one level table");
  std::vector<int> origin;  // JSON index of each model level
  for (std::size_t i = 0; i < levels.size(); ++i) {
    Node n = levels.item(i);
    if (!n.object(kLevelKeys)) continue;
    LevelModel l;
    Node code = n["code"], table = n["table"];
    code.required();
    table.required();
    l.code = code.text({}, 5);
    l.depth = codeDepth(l.code);
    if (!l.code.empty() && l.depth == 0) {
      code.error("\"" + l.code + "\" is not a level code (letters from A, then _ to five characters)");
    }
    l.table = table.text({}, 12);
    if (!l.table.empty() && !plainName(l.table, false)) {
      table.error("\"" + l.table + "\" is not a table name (letters, digits, _ and -)");
    }
    if (base::equalsNoCase(l.table, "app") || base::equalsNoCase(l.table, "hierarchy")) {
      table.error("\"" + l.table + "\" would clash with a control file of the application");
    }
    for (std::size_t j = 0; j < r.app.levels.size(); ++j) {
      std::string other = "levels[" + std::to_string(origin[j]) + "]";
      if (!l.code.empty() && r.app.levels[j].code == l.code) code.error("duplicate level code \"" + l.code + "\" (also " + other + ")");
      if (!l.table.empty() && base::equalsNoCase(r.app.levels[j].table, l.table)) {
        table.error("duplicate table \"" + l.table + "\" (also " + other + ")");
      }
    }
    l.name = n["name"].text(l.table, apps::layout::level_bct::kLevelNameSize - 1);
    l.description = n["description"].text({}, apps::layout::level_info::kDescriptionSize - 1);
    l.blocked = n["blocked"].flag(false);
    Node columns = n["columns"];
    if (columns.required() && columns.array()) {
      if (columns.size() == 0 || columns.size() > static_cast<std::size_t>(apps::layout::kMaxLastColumn)) {
        columns.error("a level has 1 to 251 columns");
      }
      for (std::size_t k = 0; k < columns.size() && k < static_cast<std::size_t>(apps::layout::kMaxLastColumn); ++k) {
        ColumnModel col;
        readColumnShape(columns.item(k), col, l);
        l.columns.push_back(std::move(col));
      }
      if (l.depth > 0 && static_cast<int>(l.columns.size()) < l.depth) {
        columns.error("a level-" + std::to_string(l.depth) + " table holds its key path in its first " +
                      std::to_string(l.depth) + " columns");
      }
    }
    r.app.levels.push_back(std::move(l));
    origin.push_back(static_cast<int>(i));
  }

  // The tree: every table below the root hangs under the table whose code
  // has its own letter replaced by "_".
  int roots = 0;
  for (std::size_t i = 0; i < r.app.levels.size(); ++i) {
    LevelModel& l = r.app.levels[i];
    Node code = levels.item(static_cast<std::size_t>(origin[i]))["code"];
    if (l.depth == 1) {
      if (++roots == 1 && i != 0) code.error("the level-1 table (A____) must come first");
      continue;
    }
    if (l.depth == 0) continue;
    std::string parentCode = l.code;
    parentCode[static_cast<std::size_t>(l.depth - 1)] = '_';
    for (std::size_t j = 0; j < r.app.levels.size(); ++j) {
      if (r.app.levels[j].code == parentCode) l.parent = static_cast<int>(j);
    }
    if (l.parent < 0) {
      code.error("no level with the parent code \"" + parentCode + "\"");
    } else {
      r.app.levels[static_cast<std::size_t>(l.parent)].children.push_back(static_cast<int>(i));
    }
  }
  if (roots == 0 && !r.app.levels.empty()) levels.error("no level-1 table (code \"A____\")");
}

void readLevelDetails(Reader& r, const Node& levels) {
  // The model holds the levels that were objects, in order.
  std::size_t li = 0;
  for (std::size_t i = 0; i < levels.size() && li < r.app.levels.size(); ++i) {
    Node n = levels.item(i);
    if (!n.present() || !n.json().is_object()) continue;
    int index = static_cast<int>(li++);
    LevelModel& l = r.app.levels[static_cast<std::size_t>(index)];
    if (l.depth == 0 || (l.depth > 1 && l.parent < 0)) continue;  // references could not be resolved
    readSettings(n["settings"], l);
    Node s = n["settings"];
    if (s.present() && s.json().is_object()) {
      if (s["firstEnterableColumn"].present()) l.firstEnterable = r.ownColumn(s["firstEnterableColumn"], index);
      if (s["lastEnterableColumn"].present()) l.lastEnterable = r.ownColumn(s["lastEnterableColumn"], index);
    }
    readScreens(r, n["screens"], index);
    Node events = n["events"];
    if (events.present()) {
      if (events.object(kEventNames)) {
        for (std::size_t e = 0; e < apps::layout::level_header::kEventCount; ++e) {
          if (events[kEventNames[e]].present()) l.events[e] = r.program(events[kEventNames[e]]);
        }
      }
    }
    Node programs = n["programs"];
    if (programs.array()) {
      if (programs.size() > apps::layout::kProgramListSize) programs.error("at most 10 programs");
      for (std::size_t p = 0; p < programs.size() && p < apps::layout::kProgramListSize; ++p) {
        std::string name = r.program(programs.item(p));
        if (!name.empty()) l.programs.push_back(name);
      }
    }
    readGps(r, n["gps"], index);
    readLevelExtras(r, n, index);
    Node columns = n["columns"];
    for (std::size_t k = 0; k < columns.size() && k < l.columns.size(); ++k) readColumn(r, columns.item(k), index, static_cast<int>(k));
  }
}

}  // namespace tfabuild
