#pragma once
// What the GPS settings dialogs share: the row layout (labels left, fields
// right, rows 16 dialog units apart so each lands on its own terminal line)
// and the reading of whole numbers typed into their fields.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/parms.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps::settings_form {

inline constexpr int kMargin = 8;
inline constexpr int kRowStep = 16;
inline constexpr int kButtonWidth = 50, kButtonHeight = 14;

// The top of row n (0-based).
constexpr int rowY(int row) { return kMargin + row * kRowStep; }

ui::Control label(int id, std::string text, int row, int width);
// A drop-down at x on row; its rectangle includes the open list of items entries.
ui::Control dropDown(int id, int row, int x, int width, int items);
ui::Control entry(int id, int row, int x, int width, int limit, bool digitsOnly);
ui::Control checkBox(int id, std::string text, int row, int width);
// OK and Cancel side by side, centred in a dialog of width at y.
void addOkCancel(ui::Form& form, int width, int y);

// A whole number: digits only, or with allowMinus a leading '-' too, with no
// blanks, nothing else and a value that fits in 32 bits. Nothing otherwise.
std::optional<std::int32_t> wholeNumber(std::string_view text, bool allowMinus);

// The whole number typed into control id (see wholeNumber), at most most.
// Otherwise "<name> Needs a Whole Number" is shown with caption, the focus
// goes to the control, and nothing is returned.
std::optional<std::int32_t> readWholeNumber(ui::Host& host, ui::FormView& view, int id, bool allowMinus,
                                            std::int32_t most, const char* name, const char* caption);

// The index of text in items, or -1.
int indexOf(const std::vector<std::string>& items, std::string_view text);

// How a dialog over GPS_Parms.dft runs: the file is read into a working
// copy, form is shown with the controller make(copy) returns, and OK stores
// the copy in parms and writes the file (1); Cancel changes nothing (0).
template <class MakeController>
int editParms(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms, const ui::Form& form,
              MakeController make) {
  GpsParms work = parms;
  (void)readGpsParms(host, installRoot, work, sep);
  auto controller = make(work);
  if (host.runForm(form, controller) != 1) return 0;
  parms = work;
  (void)writeGpsParms(host, installRoot, parms, sep);
  return 1;
}

}  // namespace gps::settings_form
