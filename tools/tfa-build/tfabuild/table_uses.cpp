// The tables of a description checked against their uses: the runtime
// finds check-file and look-up keys by halving, reads range bounds as
// numbers, takes jump targets and look-up names as columns of the level.
#include <functional>

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "tablestore/number_text.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

std::string q(const std::string& s) { return "\"" + s + "\""; }

// The key as the runtime compares it: 8-bit text padded to the field width.
std::string storedKey(const tablestore::FieldSpec& f, const std::string& value) {
  std::string k = platform::toNarrow(value);
  if (static_cast<int>(k.size()) < f.length) k.append(static_cast<std::size_t>(f.length) - k.size(), ' ');
  return k;
}

// Reports when the rows are not ascending by field (1-based).
void requireSorted(const Node& use, const TableModel& t, int field) {
  const tablestore::FieldSpec& f = t.fields[static_cast<std::size_t>(field - 1)];
  for (std::size_t i = 1; i < t.rows.size(); ++i) {
    const std::string& a = t.rows[i - 1][static_cast<std::size_t>(field - 1)];
    const std::string& b = t.rows[i][static_cast<std::size_t>(field - 1)];
    bool before = f.type == 'N' ? tablestore::parseNumber(a) <= tablestore::parseNumber(b)
                                : storedKey(f, a).compare(storedKey(f, b)) <= 0;
    if (!before) {
      use.error("table " + q(t.name) + " must be in ascending order of field " + f.name +
                " for the halving search (row " + std::to_string(i + 1) + " " + q(b) + " comes after " + q(a) + ")");
      return;
    }
  }
}

bool requireFields(const Node& use, const TableModel& t, int count, const char* what) {
  if (static_cast<int>(t.fields.size()) >= count) return true;
  use.error("table " + q(t.name) + " has " + std::to_string(t.fields.size()) + " field(s); " + what + " needs " +
            std::to_string(count));
  return false;
}

void requireNumeric(const Node& use, const TableModel& t, int first, int last, const char* what) {
  for (int j = first; j <= last; ++j) {
    const tablestore::FieldSpec& f = t.fields[static_cast<std::size_t>(j - 1)];
    if (f.type != 'N') use.error("table " + q(t.name) + " field " + f.name + " must be numeric for " + what);
  }
}

// The check-file rules of one check type for one table.
void checkFileFor(const Node& use, const TableModel& t, const CheckModel& check) {
  switch (check.type) {
    case 3:
      if (!requireFields(use, t, check.replace ? 2 : 1, check.replace ? "a code check that replaces" : "a code check")) return;
      if (!check.sequential) requireSorted(use, t, 1);
      break;
    case 7:
      if (requireFields(use, t, 4, "a rangeTable check")) requireNumeric(use, t, 1, 4, "a rangeTable check");
      break;
    case 8:
      if (requireFields(use, t, 6, "a rangeTable2 check")) requireNumeric(use, t, 1, 6, "a rangeTable2 check");
      break;
    case 9:
      if (!requireFields(use, t, 3, "a keyTable check")) return;
      requireNumeric(use, t, 2, 3, "a keyTable check");
      requireSorted(use, t, 1);
      break;
    default:
      break;
  }
}

// A relation file: its last field names the file to use for each key.
void relationFile(Reader& r, const Node& use, const TableModel& t, int kind,
                  const std::function<void(const TableModel&)>& each) {
  if (!requireFields(use, t, kind == 3 ? 3 : 2, "a relation")) return;
  std::size_t last = t.fields.size() - 1;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    std::string name = base::trim(t.rows[i][last]);
    bool found = false;
    for (const auto& other : r.app.tables) {
      if (other.name == name) {
        found = true;
        each(other);
      }
    }
    for (const auto& f : r.app.files) found = found || f.name == name;
    if (!found) {
      use.error("table " + q(t.name) + " row " + std::to_string(i + 1) + " names " + q(name) +
                ", which is not a table or file of the description (names are compared exactly)");
    }
  }
}

void lookupTable(Reader& r, const Node& use, const TableModel& t, int li, int kind) {
  const LevelModel& l = r.app.levels[static_cast<std::size_t>(li)];
  int first = kind == 1 ? 2 : 3;
  if (!requireFields(use, t, first + 1, kind == 1 ? "a text-key look-up" : "a number-key look-up")) return;
  if (kind == 1) {
    requireSorted(use, t, 1);
  } else {
    requireNumeric(use, t, 2, 2, "a number-key look-up");
    requireSorted(use, t, 2);
  }
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    for (int j = first; j + 1 <= static_cast<int>(t.fields.size()); j += 2) {
      std::string name = base::trim(t.rows[i][static_cast<std::size_t>(j - 1)]);
      if (name.empty()) continue;
      bool known = false;
      for (const auto& c : l.columns) known = known || base::equalsNoCase(c.field, name);
      if (!known) use.error("unknown column " + q(name) + " (table " + q(t.name) + " row " + std::to_string(i + 1) + ")");
    }
  }
}

void jumpTable(const Node& use, const TableModel& t, const LevelModel& l, int match) {
  int keys = match == 3 ? 2 : 1;
  if (!requireFields(use, t, keys + 5, "a jump file")) return;
  int n = static_cast<int>(t.fields.size());
  requireNumeric(use, t, n - 4, n, "jump targets");
  if (match == 3) requireNumeric(use, t, 1, 2, "a range jump");
  if (match != 3) requireSorted(use, t, 1);
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    for (int j = n - 4; j <= n; ++j) {
      double target = tablestore::parseNumber(t.rows[i][static_cast<std::size_t>(j - 1)]);
      if (target < 0 || target > static_cast<double>(l.columns.size())) {
        use.error("table " + q(t.name) + " row " + std::to_string(i + 1) + ": jump target " +
                  t.rows[i][static_cast<std::size_t>(j - 1)] + " is not a column of this level (0-" +
                  std::to_string(l.columns.size()) + ")");
      }
    }
  }
}

}  // namespace

void checkTableUses(Reader& r, const Node& levels) {
  std::size_t li = 0;
  for (std::size_t i = 0; i < levels.size() && li < r.app.levels.size(); ++i) {
    Node ln = levels.item(i);
    if (!ln.present() || !ln.json().is_object()) continue;
    int index = static_cast<int>(li++);
    const LevelModel& l = r.app.levels[static_cast<std::size_t>(index)];
    Node columns = ln["columns"];
    for (std::size_t k = 0; k < l.columns.size(); ++k) {
      const ColumnModel& c = l.columns[k];
      Node cn = columns.item(k);
      if (const TableModel* t = c.check.file.empty() ? nullptr : r.table(c.check.file)) {
        Node use = cn["check"]["file"];
        if (c.check.relationKind != 0) {
          relationFile(r, use, *t, c.check.relationKind, [&](const TableModel& real) { checkFileFor(use, real, c.check); });
        } else {
          checkFileFor(use, *t, c.check);
        }
      }
      if (const TableModel* t = c.lookupFile.empty() ? nullptr : r.table(c.lookupFile)) {
        lookupTable(r, cn["lookup"]["file"], *t, index, c.lookupKind);
      }
    }
    Node jumps = ln["jumps"];
    for (std::size_t j = 0; j < l.jumps.size(); ++j) {
      const JumpModel& jm = l.jumps[j];
      const TableModel* t = jm.file.empty() ? nullptr : r.table(jm.file);
      if (t == nullptr) continue;
      Node use = jumps.item(j)["file"];
      if (jm.relationKind != 0) {
        relationFile(r, use, *t, jm.relationKind, [&](const TableModel& real) { jumpTable(use, real, l, jm.match); });
      } else {
        jumpTable(use, *t, l, jm.match);
      }
    }
  }
}

}  // namespace tfabuild
