#pragma once
// The state and window procedure of one edit window ("TFP_EditWin"): it
// draws a Screen through its own DC and turns the user's keys, mouse and
// touch buttons into codes in a KeyQueue. Both outlive the view.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cell_painter.hpp"
#include "edit_keys.hpp"
#include "ui/edit_window.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace frontend {

class EditView {
 public:
  EditView(ui::Screen& screen, ui::KeyQueue& keys, const ui::EditWindowSetup& setup);
  // Takes the font out of the DC (when the window is still there) and deletes it.
  ~EditView();
  EditView(const EditView&) = delete;
  EditView& operator=(const EditView&) = delete;

  // Creates the window titled title over where, owned by owner, and gets its
  // DC. False when either fails; the thread's last error then says why (never
  // 0) and dcFailed() tells which. The window is not shown yet.
  [[nodiscard]] bool create(HINSTANCE instance, HWND owner, const RECT& where, const std::wstring& title);
  bool dcFailed() const { return dcFailed_; }
  // The pixels at the bottom of the client area that the GPS status band
  // takes (none when the engine shows no status line); the cells lie above.
  int statusBandHeight() const { return setup_.statusLine ? kStatusBand : 0; }
  // Shows the window with the focus and paints it.
  void show();
  // The window, or null once it has been destroyed.
  HWND window() const { return window_; }
  // The view of an edit window, or null.
  static EditView* of(HWND window);

  ui::Screen& screen() { return screen_; }
  ui::KeyQueue& keys() { return keys_; }

  // Makes a font of the request the DC's font; returns its metrics (the
  // previous font's when the new one cannot be made).
  ui::FontMetrics useFont(const ui::FontRequest& request);
  void setCellGeometry(const ui::CellGeometry& geometry);
  const CellPainter& painter() const { return painter_; }
  // Draws the rows of the Screen that changed since the last call, and the
  // cursor where it now is. False (nothing drawn) when the change counter
  // has not moved.
  bool refresh();
  // The cursor's blink: inverts its rectangle on or off when it is shown,
  // takes it off when it is not. The window's 300 ms timer calls it.
  void blink();
  bool cursorDrawn() const { return cursorDrawn_; }

  // Called after each key the user's input put into the queue.
  void setKeyHook(std::function<void()> hook) { keyHook_ = std::move(hook); }
  // Called once when the window is being destroyed.
  void setDestroyHook(std::function<void()> hook) { destroyHook_ = std::move(hook); }
  // Hands the view to its window: it is deleted once the window has gone
  // and no message of it is being handled.
  void adopt(std::unique_ptr<EditView> self);
  // True while a message of the window is being handled.
  bool busy() const { return depth_ > 0; }
  // Keeps what the Screen and KeyQueue live in alive as long as the view.
  void keepAlive(std::shared_ptr<void> storage) { storage_ = std::move(storage); }

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void showStatusLine();
  void paintStatusBand(HDC dc);
  static constexpr int kStatusBand = 20;
  void cursorOff();
  void cursorOn();
  // A key from the user: F1 and Ctrl+K may go to their callbacks, every
  // other code into the queue.
  void deliver(ui::KeyCode code, WPARAM vk);
  void push(ui::KeyCode code);
  void pushMouse(ui::KeyCode code, LPARAM lParam);
  void runActionKeys();
  void createButtons();
  void placeButtons();
  void onButton(int id);
  void saveImage();
  void restoreImage();
  void eraseBackground();
  // Whether TranslateMessage has queued a printable character for the key
  // being handled (what AltGr makes on many layouts).
  bool layoutCharacterWaiting() const;

  std::shared_ptr<void> storage_;  // destroyed last: the Screen and KeyQueue may live in it
  ui::Screen& screen_;
  ui::KeyQueue& keys_;
  ui::EditWindowSetup setup_;
  std::string statusLine_;  // the GPS status line the caption shows
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  bool dcFailed_ = false;
  HFONT font_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  ui::FontMetrics metrics_;
  CellPainter painter_;
  EditKeys input_;
  bool inMenu_ = false;  // the hierarchy menu is up
  std::vector<HWND> buttons_;

  std::uint64_t drawnChanges_ = 0;  // the Screen's change counter when last drawn
  int drawnRows_ = 0, drawnCols_ = 0;  // and its size
  bool cursorDrawn_ = false;
  RECT cursorAt_{};                 // where the drawn cursor is inverted

  bool dragging_ = false, moved_ = false;
  bool inActionKeys_ = false;
  int savedImage_ = 0;              // the editor image saved when the focus went
  std::uint64_t changesAtSave_ = 0;
  std::uint64_t lastInput_ = 0;     // clock ticks of the last key or click

  std::function<void()> keyHook_, destroyHook_;
  int depth_ = 0;                   // messages being handled
  std::unique_ptr<EditView> self_;  // set by adopt()
};

}  // namespace frontend
