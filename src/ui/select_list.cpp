#include "ui/select_list.hpp"

#include <algorithm>

#include "platform/clock.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace ui {

namespace {

constexpr char kArrowUp = '^';
constexpr char kArrowDown = 'v';

int textWidth(const std::string& s) { return static_cast<int>(std::min<std::size_t>(s.size(), Screen::kMaxText)); }

char lowerAscii(unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); }

bool isAsciiLetterOrDigit(KeyCode k) {
  return (k >= '0' && k <= '9') || (k >= 'a' && k <= 'z') || (k >= 'A' && k <= 'Z');
}

// The selection and the first visible item, kept so that the selected item
// is always on show.
struct ListState {
  int count = 0, visible = 1;
  int selected = 1, first = 1;

  int maxFirst() const { return std::max(1, count - visible + 1); }
  void show() {
    selected = std::clamp(selected, 1, count);
    if (selected < first) first = selected;
    if (selected > first + visible - 1) first = selected - visible + 1;
    first = std::clamp(first, 1, maxFirst());
  }
  void select(int item) {
    selected = item;
    show();
  }
  void pageUp() {
    first = std::max(1, first - visible);
    select(std::max(1, selected - visible));  // the first page ends on the first item
  }
  void pageDown() {
    first = std::min(maxFirst(), first + visible);
    select(std::min(count, selected + visible));  // the last page ends on the last item
  }
};

// The next item after the selected one whose text starts with c (case
// ignored), going on from the first item after the last; 0 when none does.
int findByLetter(const std::vector<std::string>& items, int selected, KeyCode c) {
  const int n = static_cast<int>(items.size());
  const char want = lowerAscii(static_cast<unsigned char>(c));
  for (int step = 1; step <= n; ++step) {
    const int item = (selected - 1 + step) % n + 1;
    const std::string& text = items[static_cast<std::size_t>(item - 1)];
    if (!text.empty() && lowerAscii(static_cast<unsigned char>(text[0])) == want) return item;
  }
  return 0;
}

void putPadded(Screen& s, int row, int col, const std::string& text, int width) {
  std::string t = text.substr(0, static_cast<std::size_t>(width));
  t.resize(static_cast<std::size_t>(width), ' ');
  s.gotoCell(row, col);
  s.putText(t);
}

void putCentred(Screen& s, int row, const SelectListLayout& l, const std::string& text) {
  std::string t = text.substr(0, static_cast<std::size_t>(l.width));
  const int pad = (l.width - static_cast<int>(t.size())) / 2;
  std::string line(static_cast<std::size_t>(pad), ' ');
  line += t;
  putPadded(s, row, l.left, line, l.width);
}

void drawBar(Screen& s, const SelectListLayout& l, const ListState& st) {
  const int last = l.firstRow + l.visible - 1;
  s.setTextColour(kBlack);
  s.setBackColour(kLtGray);
  s.gotoCell(l.firstRow, l.barCol);
  s.putText(std::string(1, kArrowUp));
  if (last != l.firstRow) {
    s.gotoCell(last, l.barCol);
    s.putText(std::string(1, kArrowDown));
  }
  const int thumb = thumbRow(l, st.selected, st.count);
  for (int i = 0; i < l.trackLength(); ++i) {
    const int row = l.trackTop() + i;
    // The raised thumb stands out light on the dark track.
    s.setTextColour(row == thumb ? kWhite : kDkGray);
    s.setBackColour(row == thumb ? kLtGray : kDkGray);
    s.gotoCell(row, l.barCol);
    s.putText(row == thumb ? "=" : " ");
  }
}

void drawList(Screen& s, const SelectList& list, const SelectListLayout& l, const ListState& st) {
  s.setTextColour(kBlack);
  s.setBackColour(kWhite);
  putCentred(s, l.titleRow, l, list.title);
  for (int i = 0; i < l.visible; ++i) {
    const int item = st.first + i;
    const bool on = item == st.selected;
    s.setTextColour(on ? kWhite : kBlack);
    s.setBackColour(on ? kBlack : kWhite);
    putPadded(s, l.firstRow + i, l.left,
              item <= st.count ? list.items[static_cast<std::size_t>(item - 1)] : std::string(), l.width);
  }
  s.setTextColour(kBlack);
  s.setBackColour(kWhite);
  putCentred(s, l.footerRow, l, list.footer);
  drawBar(s, l, st);
}

// The screen as it was before the list: put back when the list closes.
class Underneath {
 public:
  explicit Underneath(Screen& s)
      : s_(s), image_(s.pushImage()), cursor_(s.cursor()), text_(s.textColour()), back_(s.backColour()) {
    s.suspendCursor(true);
  }
  ~Underneath() {
    if (image_ != 0) s_.popImage(image_);
    s_.setTextColour(text_);
    s_.setBackColour(back_);
    if (cursor_.row >= 1 && cursor_.col >= 1) s_.gotoCell(cursor_.row, cursor_.col);
    s_.setInsertCursor(cursor_.insert);
    s_.suspendCursor(cursor_.suspended);
  }
  Underneath(const Underneath&) = delete;
  Underneath& operator=(const Underneath&) = delete;
  bool saved() const { return image_ != 0; }

 private:
  Screen& s_;
  int image_;
  CursorShape cursor_;
  int text_, back_;
};

enum class Click { Nothing, Chosen, Outside };

Click onClick(const SelectListLayout& l, ListState& st, KeyQueue::Cell at, int& chosen) {
  const int lastItemRow = l.firstRow + l.visible - 1;
  if (at.row < l.titleRow - 1 || at.row > l.footerRow + 1 || at.col < l.left - 1 || at.col > l.barCol + 1)
    return Click::Outside;
  const bool onItemRows = at.row >= l.firstRow && at.row <= lastItemRow;
  if (onItemRows && at.col == l.barCol) {
    if (at.row == lastItemRow) {
      st.select(std::min(st.count, st.selected + 1));
    } else if (at.row == l.firstRow) {
      st.select(std::max(1, st.selected - 1));
    } else {
      const int thumb = thumbRow(l, st.selected, st.count);
      if (at.row < thumb) st.pageUp();
      else if (at.row > thumb) st.pageDown();
    }
    return Click::Nothing;
  }
  if (onItemRows && at.col >= l.left && at.col < l.left + l.width) {
    const int item = st.first + (at.row - l.firstRow);
    if (item <= st.count) {
      chosen = item;
      return Click::Chosen;
    }
  }
  // The title, the footer, the frame and blank rows choose nothing.
  return Click::Nothing;
}

// A drag that ends on the scroll bar puts the thumb on that row.
void onDrag(const SelectListLayout& l, ListState& st, KeyQueue::Cell at) {
  const int len = l.trackLength();
  if (at.col != l.barCol || len < 2 || st.count < 2) return;
  if (at.row < l.titleRow || at.row > l.footerRow) return;
  const int offset = std::clamp(at.row - l.trackTop(), 0, len - 1);
  st.select(1 + (offset * (st.count - 1) + (len - 1) / 2) / (len - 1));
}

}  // namespace

SelectListLayout layoutSelectList(const SelectList& list, int screenRows, int screenCols) {
  SelectListLayout l;
  const int count = static_cast<int>(list.items.size());
  // Rows 2 .. rows-1 and columns 2 .. cols-1 hold the box inside its frame.
  const int maxVisible = screenRows - 4;
  const int maxWidth = screenCols - 3;
  if (count == 0 || maxVisible < 1 || maxWidth < 1) return l;
  int width = std::max(textWidth(list.title), textWidth(list.footer));
  for (const std::string& item : list.items) width = std::max(width, textWidth(item));
  l.width = std::clamp(width, 1, maxWidth);
  const int wanted = list.visibleRows > 0 ? list.visibleRows : maxVisible;
  l.visible = std::clamp(std::min(wanted, count), 1, maxVisible);
  const int height = l.visible + 2;
  const int top = list.row > 0 ? list.row : (screenRows - height) / 2 + 1;
  const int left = list.col > 0 ? list.col : (screenCols - (l.width + 1)) / 2 + 1;
  l.titleRow = std::clamp(top, 2, screenRows - 1 - height + 1);
  l.left = std::clamp(left, 2, screenCols - 1 - l.width);
  l.firstRow = l.titleRow + 1;
  l.footerRow = l.firstRow + l.visible;
  l.barCol = l.left + l.width;
  return l;
}

int thumbRow(const SelectListLayout& l, int selected, int count) {
  const int len = l.trackLength();
  if (len == 0) return 0;
  if (count < 2 || len == 1) return l.trackTop();
  const int s = std::clamp(selected, 1, count);
  return l.trackTop() + static_cast<int>((static_cast<long long>(s - 1) * (len - 1)) / (count - 1));
}

int selectFromList(Host& host, Screen& screen, KeyQueue& keys, const SelectList& list) {
  const SelectListLayout l = layoutSelectList(list, screen.rows(), screen.cols());
  if (l.visible == 0) return 0;
  Underneath under(screen);
  if (!under.saved()) {
    host.beep();
    return 0;
  }
  const bool lent = host.editScreen() == &screen;
  ListState st;
  st.count = static_cast<int>(list.items.size());
  st.visible = l.visible;
  st.select(list.selected);
  screen.drawBox(l.titleRow, l.left, l.footerRow, l.barCol);
  platform::Clock& clock = platform::clock();
  namespace k = key;
  for (;;) {
    drawList(screen, list, l, st);
    if (lent && host.editScreen() != &screen) return 0;
    const KeyCode key = keys.take();
    if (key == 0) {
      host.pump();
      clock.sleep(10);
      continue;
    }
    switch (key) {
      case k::kAbort: case k::kEscape: return 0;
      case k::kEnter: return st.selected;
      case k::kUp: case k::kWheelForward: st.select(std::max(1, st.selected - 1)); break;
      case k::kDown: case k::kWheelBack: st.select(std::min(st.count, st.selected + 1)); break;
      case k::kPageUp: st.pageUp(); break;
      case k::kPageDown: st.pageDown(); break;
      case k::kHome: st.select(1); break;
      case k::kEnd: st.select(st.count); break;
      case k::kMouseClick: case k::kMouseDoubleClick: {
        int chosen = 0;
        const Click c = onClick(l, st, keys.lastClick(), chosen);
        if (c == Click::Outside) return 0;
        if (c == Click::Chosen) return chosen;
        break;
      }
      case k::kMouseRelease: onDrag(l, st, keys.lastClick()); break;
      default:
        if (isAsciiLetterOrDigit(key)) {
          const int item = findByLetter(list.items, st.selected, key);
          if (item != 0) st.select(item);
        }
        break;
    }
  }
}

}  // namespace ui
