// A column: its screen placement, field type, automatic fill, checks,
// look-up fill, jump, sensor, movement pairs and event programs.
#include <array>
#include <cmath>
#include <string_view>

#include "base/text.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

constexpr std::array<std::string_view, 36> kColumnKeys = {
    "field", "type", "width", "decimals", "title", "title2", "prompt", "heading", "screen",
    "hidden", "displayWidth", "titleAt", "valueAt", "fieldType", "fill", "fillOnEntry", "start",
    "step", "cycle", "random", "parent", "default", "picture", "upperCase", "waitWhenFull",
    "unique", "noEdit", "required", "requiredBeforeChild", "listEntry", "check", "lookup", "jump",
    "sensor", "moves", "programs"};

constexpr std::array<std::string_view, apps::layout::column_check::kColumnEventCount> kProgramKeys = {
    "preEntry", "entry", "postEntry", "validateBefore", "validateInstead", "afterChecks"};

constexpr std::array<std::string_view, apps::layout::column_check::kMoveCount> kMoveKeys = {
    "up", "down", "left", "right", "enter"};

// The widest range a field can hold, the default of the absolute range.
void fieldRange(const ColumnModel& c, double& lo, double& hi) {
  if (c.type != 'N') {
    lo = -1e9;
    hi = 1e9;
    return;
  }
  int intDigits = c.width - (c.decimals > 0 ? c.decimals + 1 : 0);
  double unit = std::pow(10.0, -c.decimals);
  hi = std::pow(10.0, intDigits) - unit;
  lo = -(std::pow(10.0, intDigits - 1) - unit);
}

// The index (1-based) of the entry named by node in a list of named
// entries, or 0 (reported).
template <class T>
int namedEntry(const Node& node, const std::vector<T>& list, const char* what) {
  std::string name = node.text();
  if (name.empty()) {
    if (node.present()) node.error(std::string("expected the name of a ") + what);
    return 0;
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].name == name) return static_cast<int>(i) + 1;
  }
  node.error(std::string("no ") + what + " \"" + name + "\" in this level");
  return 0;
}

void readRelation(Reader& r, const Node& rel, int li, CheckModel& check) {
  if (!rel.object({"match", "column"})) return;
  check.relationKind = rel["match"].choice(1, {{"text", 1}, {"number", 2}, {"range", 3}});
  rel["column"].required();
  check.relation = r.column(rel["column"], li);
}

void readCheck(Reader& r, const Node& c, int li, ColumnModel& col) {
  CheckModel& check = col.check;
  if (!c.object({"type", "min", "max", "minLength", "file", "replace", "sequential", "relation", "low",
                 "high", "key", "keys", "warning", "override", "overrideEmpty"}))
    return;
  c["type"].required();
  check.type = c["type"].choice(0, {{"none", 0}, {"range", 1}, {"length", 2}, {"code", 3}, {"relativeLow", 4},
                                    {"relativeHigh", 5}, {"relative", 6}, {"rangeTable", 7},
                                    {"rangeTable2", 8}, {"keyTable", 9}});
  double lo = 0, hi = 0;
  fieldRange(col, lo, hi);
  bool ranged = check.type == 1 || (check.type >= 4 && check.type <= 9);
  if (check.type == 1) {
    c["min"].required();
    c["max"].required();
  }
  check.minimum = c["min"].number(ranged ? lo : 0);
  check.maximum = c["max"].number(ranged ? hi : 0);
  if (check.minimum > check.maximum) c["max"].error("the maximum lies below the minimum");
  if (!ranged && (c["min"].present() || c["max"].present())) c["type"].error("only range checks take \"min\" and \"max\"");

  if (check.type == 2) {
    c["minLength"].required();
    check.minLength = static_cast<int>(c["minLength"].integer(1, 1, col.width));
  } else if (c["minLength"].present()) {
    c["minLength"].error("only a \"length\" check takes a minimum length");
  }

  bool filed = check.type == 3 || check.type >= 7;
  if (filed) c["file"].required();
  if (c["file"].present()) {
    if (!filed) {
      c["file"].error("this check type uses no check file");
    } else {
      check.file = r.fileName(c["file"]);
    }
  }
  check.replace = c["replace"].flag(false);
  check.sequential = c["sequential"].flag(false);
  if (check.type != 3 && (c["replace"].present() || c["sequential"].present())) {
    c["type"].error("\"replace\" and \"sequential\" belong to a \"code\" check");
  }
  if (c["relation"].present()) {
    if (!filed) c["relation"].error("a relation picks a check file; this check type has none");
    readRelation(r, c["relation"], li, check);
  }

  bool needsLow = check.type == 4 || check.type == 6, needsHigh = check.type == 5 || check.type == 6;
  if (needsLow) c["low"].required();
  if (needsHigh) c["high"].required();
  if (c["low"].present()) {
    if (!needsLow) c["low"].error("only relativeLow and relative checks take \"low\"");
    check.low = r.column(c["low"], li);
  }
  if (c["high"].present()) {
    if (!needsHigh) c["high"].error("only relativeHigh and relative checks take \"high\"");
    check.high = r.column(c["high"], li);
  }
  if (check.type == 7 || check.type == 9) {
    c["key"].required();
    check.low = r.column(c["key"], li);
  } else if (c["key"].present()) {
    c["key"].error("only rangeTable and keyTable checks take a \"key\"");
  }
  if (check.type == 8) {
    Node keys = c["keys"];
    if (keys.required() && keys.array()) {
      if (keys.size() != 2) keys.error("expected two key columns");
      check.low = r.column(keys.item(0), li);
      check.high = r.column(keys.item(1), li);
    }
  } else if (c["keys"].present()) {
    c["keys"].error("only a rangeTable2 check takes \"keys\"");
  }

  Node warning = c["warning"];
  if (warning.present()) {
    if (!warning.array() || warning.size() != 2) {
      warning.error("expected [minimum, maximum]");
    } else {
      check.warn = true;
      check.warnMinimum = warning.item(0).number(0);
      check.warnMaximum = warning.item(1).number(0);
      if (check.warnMinimum > check.warnMaximum) warning.error("the maximum lies below the minimum");
    }
  }
  check.override = c["override"].flag(false);
  check.overrideEmpty = c["overrideEmpty"].flag(false);
}

// Field widths that date and time columns need.
void checkTypeWidth(const Node& at, const ColumnModel& col) {
  int needC = 0, needN = 0;
  switch (col.fieldType) {
    case 2: case 3: case 4: needC = 8; needN = 6; break;
    case 9: case 10: needC = 10; needN = 8; break;
    case 8: needC = 12; needN = 9; break;
    default: return;
  }
  int need = col.type == 'N' ? needN : needC;
  if (col.width < need) at.error("this field type needs a field at least " + std::to_string(need) + " wide");
}

void readFill(Reader& r, const Node& c, int li, ColumnModel& col) {
  const LevelModel& level = r.app.levels[static_cast<std::size_t>(li)];
  col.fillKind = c["fill"].choice(0, {{"none", 0}, {"copy", 1}, {"increment", 2}, {"line-number", 3},
                                      {"date", 4}, {"date-ymd", 5}, {"time", 6}, {"random", 7}, {"step", 8},
                                      {"default", 9}, {"date-mdyyyy", 10}, {"date-yyyymd", 11},
                                      {"parent", 15}, {"date-dmyyyy", 20}, {"date-dmy", 21}, {"key", 22}},
                              0, 22);
  col.fillOnEntry = c["fillOnEntry"].flag(false);
  col.start = c["start"].number(0);
  col.step = c["step"].number(0);
  col.cycle = static_cast<int>(c["cycle"].integer(0, 0, 32767));
  if ((c["start"].present() || c["step"].present()) && col.fillKind != 3 && col.fillKind != 8) {
    c["fill"].error("\"start\" and \"step\" belong to line-number and step fills");
  }
  if (c["cycle"].present() && col.fillKind != 8) c["fill"].error("\"cycle\" belongs to a step fill");
  if (col.fillKind == 7) {
    c["random"].required();
    col.randomIndex = namedEntry(c["random"], level.random, "random definition");
  } else if (c["random"].present()) {
    c["random"].error("only a random fill names a random definition");
  }
  if (col.fillKind == 15) {
    c["parent"].required();
    ColumnRef ref = r.column(c["parent"], li);
    if (ref.set() && (ref.level >= level.depth || ref.level > 3)) {
      c["parent"].error("a parent fill takes a column of a level above this one (levels 1-3)");
    } else {
      col.parent = ref;
    }
  } else if (c["parent"].present()) {
    c["parent"].error("only a parent fill names a parent column");
  }
  Node def = c["default"], picture = c["picture"];
  if (def.present() && picture.present()) c["picture"].error("a column has a picture or a default text, not both");
  if (col.fillKind == 9) def.required();
  if (def.present()) {
    if (col.fillKind != 9) def.error("a default text belongs to a \"default\" fill");
    col.text = def.text({}, static_cast<std::size_t>(col.width));
  }
  if (picture.present()) {
    col.text = picture.text({}, apps::layout::column_check::kTextSize - 1);
    col.editKind = 2;
    if (col.type != 'C') picture.error("only character fields take a picture");
    if (col.text.size() != static_cast<std::size_t>(col.width)) {
      picture.error("the picture must be as wide as the field (" + std::to_string(col.width) + ")");
    }
  }
}

void readMoves(Reader& r, const Node& m, int li, ColumnModel& col) {
  std::array<std::string_view, 6> keys = {"up", "down", "left", "right", "enter", "goToOnLineChange"};
  if (!m.object(keys)) return;
  for (std::size_t i = 0; i < kMoveKeys.size(); ++i) {
    Node pair = m[kMoveKeys[i]];
    if (!pair.present()) continue;
    if (!pair.array() || pair.size() != 2) {
      pair.error("expected [lines, columns]");
      continue;
    }
    col.moves[i] = std::array<int, 2>{static_cast<int>(pair.item(0).integer(0, -32768, 32767)),
                                      static_cast<int>(pair.item(1).integer(0, -32768, 32767))};
  }
  Node go = m["goToOnLineChange"];
  if (go.present()) {
    col.goToOnLineChange = true;
    if (go.json().is_boolean()) {
      col.goToOnLineChange = go.flag(false);
    } else {
      col.goToTarget = r.ownColumn(go, li);
    }
  }
}

}  // namespace

void readColumn(Reader& r, const Node& c, int li, int index) {
  LevelModel& level = r.app.levels[static_cast<std::size_t>(li)];
  ColumnModel& col = level.columns[static_cast<std::size_t>(index)];
  if (!c.object(kColumnKeys)) {
    if (!c.present()) c.error("missing");
    return;
  }
  col.title2 = c["title2"].text({}, apps::layout::column_def::kTitle2Size - 1);
  col.prompt = c["prompt"].text({}, apps::layout::column_def::kPromptSize - 1);
  col.heading = c["heading"].text({}, apps::layout::column_def::kHeadingSize - 1);
  col.screen = static_cast<int>(c["screen"].integer(1, 1, apps::layout::level_header::kMaxScreens));
  if (col.screen > static_cast<int>(level.screens.size())) {
    c["screen"].error("this level has " + std::to_string(level.screens.size()) + " screen(s)");
    col.screen = 1;
  }
  col.hidden = c["hidden"].flag(false);
  col.displayWidth = static_cast<int>(c["displayWidth"].integer(0, 0, 254));
  for (const char* key : {"titleAt", "valueAt"}) {
    Node at = c[key];
    if (!at.present()) continue;
    if (!at.array() || at.size() != 2) {
      at.error("expected [row, column]");
      continue;
    }
    std::array<int, 2> v{static_cast<int>(at.item(0).integer(0, 0, 200)), static_cast<int>(at.item(1).integer(0, 0, 400))};
    (std::string_view(key) == "titleAt" ? col.titleAt : col.valueAt) = v;
  }

  col.fieldType = c["fieldType"].choice(0, {{"general", 0}, {"numeric", 1}, {"date", 2}, {"date-ymd", 3},
                                            {"time", 4}, {"sensor", 5}, {"display", 6}, {"timer", 7},
                                            {"time-ms", 8}, {"date-mdyyyy", 9}, {"date-yyyymd", 10},
                                            {"skipped", 11}},
                                        0, 11);
  checkTypeWidth(c["fieldType"], col);
  if (col.fieldType == 5) {
    c["sensor"].required();
    col.serialIndex = namedEntry(c["sensor"], level.serial, "serial definition");
  } else if (c["sensor"].present()) {
    c["sensor"].error("only a sensor column names a serial definition");
  }
  readFill(r, c, li, col);
  col.upperCase = c["upperCase"].flag(false);
  col.waitWhenFull = c["waitWhenFull"].flag(false);
  col.unique = c["unique"].flag(false);
  col.noEdit = c["noEdit"].flag(false);
  col.required = c["required"].flag(false);
  col.requiredBeforeChild = c["requiredBeforeChild"].flag(false);
  col.listEntry = c["listEntry"].flag(false);
  if (c["check"].present()) readCheck(r, c["check"], li, col);
  if (col.listEntry && col.check.type != 3) c["listEntry"].error("list entry needs a \"code\" check");

  Node lookup = c["lookup"];
  if (lookup.object({"key", "file"})) {
    col.lookupKind = lookup["key"].choice(1, {{"text", 1}, {"number", 2}});
    lookup["file"].required();
    col.lookupFile = r.fileName(lookup["file"]);
  }
  if (c["jump"].present()) col.jumpIndex = namedEntry(c["jump"], level.jumps, "jump definition");
  if (c["moves"].present()) readMoves(r, c["moves"], li, col);
  Node programs = c["programs"];
  if (programs.object(kProgramKeys)) {
    for (std::size_t e = 0; e < kProgramKeys.size(); ++e) {
      if (programs[kProgramKeys[e]].present()) col.programs[e] = r.program(programs[kProgramKeys[e]]);
    }
  }
}

}  // namespace tfabuild
