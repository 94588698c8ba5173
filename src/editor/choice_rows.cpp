#include "editor/choice_rows.hpp"

#include <algorithm>
#include <new>

#include "tablestore/table.hpp"

namespace editor {

namespace {

constexpr int kShownFields = 3;

// The stored text of field f in a record image, or "" when the field does
// not lie inside the image (a table's layout is never trusted blindly).
std::string fieldSlice(const tablestore::TableField& f, const std::string& image) {
  const long long offset = f.offset(), length = f.length();
  if (offset < 1 || length < 0 || offset + length > static_cast<long long>(image.size())) return {};
  return image.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

std::vector<tablestore::TableField*> firstFields(tablestore::Table& table) {
  std::vector<tablestore::TableField*> out;
  for (int j = 1; j <= std::min(kShownFields, table.fieldCount()); ++j) {
    if (tablestore::TableField* f = table.fieldByNumber(j)) out.push_back(f);
  }
  return out;
}

// A live record's image, or false for a deleted or unreadable one.
bool liveRecord(tablestore::Table& table, std::int64_t n, std::string& image) {
  return table.peekRecord(n, image) == 0 && !image.empty() && image[0] != '*';
}

std::string padded(const std::string& text, int width) {
  std::string out = text;
  if (static_cast<int>(out.size()) < width) out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

// Hands out row texts while memory lasts; memoryRows < 0 leaves it to the allocator.
class RowMemory {
 public:
  explicit RowMemory(int memoryRows) : left_(memoryRows) {}
  bool take(std::string& row, std::size_t capacity) {
    if (left_ == 0) return false;
    try {
      row.reserve(capacity);
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (left_ > 0) --left_;
    return true;
  }

 private:
  int left_;
};

}  // namespace

PickRows buildPickRows(tablestore::Table& table, int rowWidth, int memoryRows) {
  PickRows out;
  const std::size_t cut = static_cast<std::size_t>(std::max(1, rowWidth));
  const std::vector<tablestore::TableField*> fields = firstFields(table);
  // Field texts have their fields' widths, so which fields fit is the same
  // for every row: decide it once.
  std::vector<tablestore::TableField*> shown;
  int length = 0;
  for (tablestore::TableField* f : fields) {
    const int with = length == 0 ? f->length() : length + 1 + f->length();
    if (with > kPickRowText) continue;
    shown.push_back(f);
    length = with;
  }
  // Each row is one text of max(78, record width + shown fields + 1).
  const std::size_t capacity = static_cast<std::size_t>(
      std::max(kPickTitleText, table.recordWidth() + static_cast<int>(shown.size()) + 1));
  RowMemory memory(memoryRows);
  if (!memory.take(out.title, capacity)) {
    out.noTitle = true;
    return out;
  }
  for (tablestore::TableField* f : shown) {
    std::string name = padded(f->name(), f->length());
    const std::size_t with = out.title.empty() ? name.size() : out.title.size() + 1 + name.size();
    if (with > static_cast<std::size_t>(kPickTitleText)) break;
    if (!out.title.empty()) out.title += '|';
    out.title += name;
  }
  out.title.resize(std::min(out.title.size(), cut));

  std::string image;
  for (std::int64_t n = 1; n <= table.recordCount() && out.rows.size() < kPickRowLimit; ++n) {
    if (!liveRecord(table, n, image)) continue;
    std::string row;
    if (!memory.take(row, capacity)) {
      out.partial = true;
      break;
    }
    for (tablestore::TableField* f : shown) {
      if (f != shown.front()) row += '|';
      row += fieldSlice(*f, image);
    }
    row.resize(std::min(row.size(), cut));
    out.rows.push_back(std::move(row));
    out.records.push_back(n);
  }
  return out;
}

KeyInRows buildKeyInRows(tablestore::Table& table) {
  KeyInRows out;
  const std::vector<tablestore::TableField*> fields = firstFields(table);
  for (tablestore::TableField* f : fields) {
    if (!out.heading.empty()) out.heading += '|';
    out.heading += padded(f->name(), f->length());
  }
  if (fields.empty()) return out;
  std::string image;
  for (std::int64_t n = 1; n <= table.recordCount() && out.rows.size() < kKeyInRowLimit; ++n) {
    if (!liveRecord(table, n, image)) continue;
    std::string code = fieldSlice(*fields[0], image);
    code.resize(std::min<std::size_t>(code.size(), kKeyInFirstField));
    std::string rest;
    for (std::size_t j = 1; j < fields.size(); ++j) {
      const std::string text = fieldSlice(*fields[j], image);
      if (rest.size() + 1 + text.size() > static_cast<std::size_t>(kKeyInRestText)) continue;
      rest += '|';
      rest += text;
    }
    out.rows.push_back(code + rest);
    out.codes.push_back(std::move(code));
  }
  return out;
}

}  // namespace editor
