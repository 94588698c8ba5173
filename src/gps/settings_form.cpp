#include "gps/settings_form.hpp"

#include <limits>

#include "base/text.hpp"

namespace gps::settings_form {

namespace {
// Labels and closed fields are 10 and 12 units tall: from a row's top both
// fall on the same terminal line.
constexpr int kLabelHeight = 10, kFieldHeight = 12;
constexpr int kDropRowHeight = 10;  // each entry of an open list
}  // namespace

ui::Control label(int id, std::string text, int row, int width) {
  return {id, ui::ControlKind::Static, std::move(text), {kMargin, rowY(row), width, kLabelHeight}};
}

ui::Control dropDown(int id, int row, int x, int width, int items) {
  const int shown = items < 8 ? items : 8;
  return {id, ui::ControlKind::DropDown, "", {x, rowY(row), width, kFieldHeight + shown * kDropRowHeight}};
}

ui::Control entry(int id, int row, int x, int width, int limit, bool digitsOnly) {
  ui::Control c{id, ui::ControlKind::Edit, "", {x, rowY(row), width, kFieldHeight}};
  c.limit = limit;
  c.numberOnly = digitsOnly;
  return c;
}

ui::Control checkBox(int id, std::string text, int row, int width) {
  return {id, ui::ControlKind::CheckBox, std::move(text), {kMargin, rowY(row), width, kLabelHeight}};
}

void addOkCancel(ui::Form& form, int width, int y) {
  const int left = (width - 2 * kButtonWidth - kMargin) / 2;
  form.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {left, y, kButtonWidth, kButtonHeight}));
  form.controls.push_back(
      ui::cancelButton(ui::kIdCancelButton, "Cancel", {left + kButtonWidth + kMargin, y, kButtonWidth, kButtonHeight}));
}

std::optional<std::int32_t> readWholeNumber(ui::Host& host, ui::FormView& view, int id, bool allowMinus,
                                            std::int32_t most, const char* name, const char* caption) {
  const auto v = wholeNumber(base::trim(view.text(id)), allowMinus);
  if (v && *v <= most) return v;
  ui::inform(host, base::format("%s Needs a Whole Number", name), caption);
  view.setFocus(id);
  return std::nullopt;
}

std::optional<std::int32_t> wholeNumber(std::string_view text, bool allowMinus) {
  bool negative = false;
  if (allowMinus && !text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0)) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

int indexOf(const std::vector<std::string>& items, std::string_view text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i);
  return -1;
}

}  // namespace gps::settings_form
