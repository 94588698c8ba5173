// The optional definitions of a level: random values (.rnd), jumps (.jpt),
// serial inputs (.ser) and conditional column states (.bcf).
#include "base/text.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

// A name for an entry: present, unique in its list.
template <class T>
std::string entryName(const Node& node, const std::vector<T>& list) {
  node.required();
  std::string name = node.text({}, 64);
  for (const auto& other : list) {
    if (!name.empty() && other.name == name) node.error("\"" + name + "\" twice");
  }
  return name;
}

void readRandom(Reader& r, const Node& list, int li) {
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (!list.array()) return;
  for (std::size_t i = 0; i < list.size(); ++i) {
    Node n = list.item(i);
    RandomModel m;
    if (n.object({"name", "deferred", "low", "high", "lowFrom", "highFrom"})) {
      m.name = entryName(n["name"], l.random);
      m.deferred = n["deferred"].flag(false);
      m.low = static_cast<std::int32_t>(n["low"].integer(1, 1, 32767));
      m.high = static_cast<std::int32_t>(n["high"].integer(32767, 1, 32767));
      if (m.low > m.high) n["high"].error("the high bound lies below the low bound");
      if (n["lowFrom"].present()) m.lowFrom = r.column(n["lowFrom"], li);
      if (n["highFrom"].present()) m.highFrom = r.column(n["highFrom"], li);
      m.mode = m.lowFrom.set() ? (m.highFrom.set() ? 6 : 4) : (m.highFrom.set() ? 5 : 0);
    }
    l.random.push_back(m);
  }
}

void readJumps(Reader& r, const Node& list, int li) {
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (!list.array()) return;
  for (std::size_t i = 0; i < list.size(); ++i) {
    Node n = list.item(i);
    JumpModel m;
    if (n.object({"name", "match", "source", "file", "relation"})) {
      m.name = entryName(n["name"], l.jumps);
      m.match = n["match"].choice(1, {{"text", 1}, {"number", 2}, {"range", 3}});
      n["source"].required();
      m.source = r.column(n["source"], li);
      n["file"].required();
      m.file = r.fileName(n["file"]);
      Node rel = n["relation"];
      if (rel.object({"match", "column"})) {
        m.relationKind = rel["match"].choice(1, {{"text", 1}, {"number", 2}, {"range", 3}});
        rel["column"].required();
        m.relation = r.column(rel["column"], li);
      }
    }
    l.jumps.push_back(m);
  }
}

void readSerial(Reader& r, const Node& list, int li) {
  namespace sd = apps::layout::serial_def;
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (!list.array()) return;
  for (std::size_t i = 0; i < list.size(); ++i) {
    Node n = list.item(i);
    SerialModel m;
    if (n.object({"name", "port", "baud", "parity", "dataBits", "stopBits", "flow", "terminator", "mode",
                  "request", "closePort", "match", "source", "start", "length", "delimiters", "valueToken",
                  "showTokens", "showSeparator", "program", "spread"})) {
      m.name = entryName(n["name"], l.serial);
      m.port = static_cast<int>(n["port"].integer(1, 0, 30));
      m.baud = static_cast<std::int32_t>(n["baud"].integer(9600, 110, 921600));
      m.parity = n["parity"].choice(0, {{"N", 0}, {"E", 1}, {"O", 2}, {"M", 3}, {"S", 4}});
      m.dataBits = static_cast<int>(n["dataBits"].integer(8, 5, 8));
      m.stopBits = static_cast<int>(n["stopBits"].integer(1, 1, 2));
      m.flow = static_cast<int>(n["flow"].integer(0, 0, 10));
      m.terminator = static_cast<int>(n["terminator"].integer(13, 0, 127));
      m.mode = n["mode"].choice(0, {{"direct", 0}, {"list", 2}, {"poll", 3}, {"request", 4}}, 0, 4);
      m.request = n["request"].text({}, sd::kRequestSize - 1);
      m.closePort = n["closePort"].flag(false);
      Node match = n["match"];
      if (match.object({"kind", "position", "text"})) {
        m.matchKind = match["kind"].choice(0, {{"all", 0}, {"starts", 1}, {"char", 2}, {"length", 3},
                                               {"digit", 4}, {"letter", 5}},
                                           0, 5);
        m.matchPos = static_cast<int>(match["position"].integer(0, 0, 199));
        m.matchText = match["text"].text({}, sd::kMatchTextSize - 1);
      }
      m.source = n["source"].choice(0, {{"line", 0}, {"fixed", 1}, {"tokens", 2}, {"fields", 3}});
      m.start = static_cast<int>(n["start"].integer(0, 0, 199));
      m.length = static_cast<int>(n["length"].integer(0, 0, 200));
      m.delimiters = n["delimiters"].text({}, sd::kDelimsSize - 1);
      m.valueToken = static_cast<int>(n["valueToken"].integer(0, 0, 99));
      Node show = n["showTokens"];
      if (show.array()) {
        if (show.size() > sd::kMaxShowTokens) show.error("at most 5 tokens");
        for (std::size_t t = 0; t < show.size() && t < sd::kMaxShowTokens; ++t) {
          m.showTokens.push_back(static_cast<int>(show.item(t).integer(0, 0, 99)));
        }
      }
      m.showSeparator = n["showSeparator"].text({}, sd::kShowSepSize - 1);
      if (n["program"].present()) m.program = r.program(n["program"]);
      Node spread = n["spread"];
      if (spread.object({"targets", "join", "validateEach"})) {
        m.multiColumn = true;
        m.join = spread["join"].text({}, sd::kJoinSize - 1);
        m.validateEach = spread["validateEach"].flag(false);
        Node targets = spread["targets"];
        if (targets.required() && targets.array()) {
          if (targets.size() > sd::kMaxTargets) targets.error("at most 31 target columns");
          for (std::size_t t = 0; t < targets.size() && t < sd::kMaxTargets; ++t) {
            Node tn = targets.item(t);
            if (!tn.object({"column", "token", "suffix"})) continue;
            SerialTarget target;
            tn["column"].required();
            target.column = r.ownColumn(tn["column"], li);
            target.token = static_cast<int>(tn["token"].integer(0, 0, 99));
            target.suffix = static_cast<int>(tn["suffix"].integer(0, 0, 99));
            m.targets.push_back(target);
          }
        }
      }
    }
    l.serial.push_back(m);
  }
}

void readConditions(Reader& r, const Node& c, int li) {
  LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  if (!c.object({"columns", "rows"})) return;
  Node columns = c["columns"];
  if (columns.required() && columns.array()) {
    if (columns.size() == 0 || columns.size() > apps::layout::bcf_entry::kConditions) {
      columns.error("1 to 5 condition columns");
    }
    for (std::size_t i = 0; i < columns.size() && i < apps::layout::bcf_entry::kConditions; ++i) {
      l.conditionColumns.push_back(r.column(columns.item(i), li));
    }
  }
  Node rows = c["rows"];
  if (!rows.required() || !rows.array()) return;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Node row = rows.item(i);
    if (!row.object({"when", "actions"})) continue;
    ConditionRow cr;
    Node when = row["when"];
    if (when.required() && when.array()) {
      if (when.size() != l.conditionColumns.size()) {
        when.error("expected one condition per condition column (" + std::to_string(l.conditionColumns.size()) + ")");
      }
      for (std::size_t k = 0; k < when.size() && k < l.conditionColumns.size(); ++k) {
        Node w = when.item(k);
        ConditionValue v;
        if (w.object({"equals", "range"})) {
          if (w["equals"].present() == w["range"].present()) w.error("give \"equals\" or \"range\"");
          const ColumnModel* col = r.columnOf(li, l.conditionColumns[k]);
          if (w["equals"].present() && col != nullptr) {
            if (col->type == 'C') {
              v.text = w["equals"].text({}, apps::layout::bcf_entry::kTextSize - 1);
            } else {
              v.low = w["equals"].number(0);
            }
          } else if (w["range"].array() && w["range"].size() == 2) {
            v.kind = 1;
            v.low = w["range"].item(0).number(0);
            v.high = w["range"].item(1).number(0);
          } else {
            w["range"].error("expected [low, high]");
          }
        }
        cr.when.push_back(v);
      }
    }
    Node actions = row["actions"];
    if (actions.required() && actions.present() && !actions.json().is_object()) actions.error("expected an object of columns");
    if (actions.present() && actions.json().is_object()) {
      for (auto it = actions.json().begin(); it != actions.json().end(); ++it) {
        Node target(nullptr, actions.path() + "." + it.key(), actions.diagnostics());
        Json name(it.key());
        int k = r.ownColumn(Node(&name, target.path(), actions.diagnostics()), li);
        int action = actions[it.key()].choice(0, {{"none", 0}, {"clear", 1}, {"required", 2}, {"skip", 3},
                                                  {"skip-clear", 4}, {"display", 5}, {"display-clear", 6}});
        if (k > 0) cr.actions[static_cast<std::size_t>(k)] = action;
      }
    }
    l.conditionRows.push_back(cr);
  }
}

}  // namespace

void readLevelExtras(Reader& r, const Node& node, int li) {
  readRandom(r, node["random"], li);
  readJumps(r, node["jumps"], li);
  readSerial(r, node["serial"], li);
  if (node["conditions"].present()) readConditions(r, node["conditions"], li);
}

}  // namespace tfabuild
