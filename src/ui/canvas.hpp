#pragma once
// A window that shows a picture drawn by the core: the navigation display.
// The core lays the picture out in the canvas's own units (pixels on
// Windows, braille dots in the terminal) as a Drawing of a few primitives;
// the front end only draws them. The window is modal: Host::runCanvasWindow
// returns when it is closed.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/edit_window.hpp"  // MenuItem
#include "ui/keys.hpp"

namespace ui {

// What a front end tells the layout about its drawing area.
struct CanvasMetrics {
  int width = 0, height = 0;  // the drawing area, in the canvas's units
  // One character of the normal text: advance and line height.
  int charWidth = 8, lineHeight = 16;
  // Pixels: text may be drawn smaller than normal (its height is given per
  // text). Cells: every text is one cell row high; a text wider than the
  // area is cut.
  bool scalableText = true;
  // Radius of a point's circle.
  int pointRadius = 4;
};

// The role of what is drawn; the front end picks colour and pen by it.
enum class Ink : std::uint8_t {
  Text,        // band texts
  Current,     // the current position
  Start,       // the start waypoint
  Destination, // the destination waypoint
  Background,  // background points
  Leg,         // start to destination
  ToGo,        // current position to destination
  Track,       // the track of the last positions
  Scale,       // the scale bar
};

struct CanvasXY {
  int x = 0, y = 0;
};

struct CanvasCircle {
  CanvasXY centre;
  int radius = 0;
  Ink ink = Ink::Current;
  std::string label;  // drawn right of the circle (UTF-8); may be empty
};
struct CanvasLine {
  CanvasXY from, to;
  Ink ink = Ink::Leg;
};
struct CanvasPolyline {
  std::vector<CanvasXY> points;
  Ink ink = Ink::Track;
};
struct CanvasText {
  CanvasXY topLeft;
  std::string text;  // UTF-8
  int height = 16;   // character height (scalable text only)
  Ink ink = Ink::Text;
};
// A horizontal bar from `from` length units to the right, with end ticks and
// its label (the ground distance it stands for) above it.
struct CanvasScaleBar {
  CanvasXY from;
  int length = 0;
  std::string label;
};

// Everything the window shows, drawn in this order: polylines, lines,
// circles, the scale bar, texts. Coordinates may lie outside the area; the
// front end clips.
struct Drawing {
  std::vector<CanvasPolyline> polylines;
  std::vector<CanvasLine> lines;
  std::vector<CanvasCircle> circles;
  std::vector<CanvasScaleBar> scaleBars;
  std::vector<CanvasText> texts;
};

// What the controller may ask of the open window.
class CanvasView {
 public:
  virtual ~CanvasView() = default;
  // The picture changed: the window draws it again (calling draw()).
  virtual void redraw() = 0;
  // Closes the window; runCanvasWindow returns result.
  virtual void end(int result) = 0;
};

class CanvasController {
 public:
  virtual ~CanvasController() = default;
  // Once, before the first drawing.
  virtual void onOpen(CanvasView& view) {}
  // The picture for an area of m's size. Called for every paint, so it
  // changes nothing the user sees twice (no state moves on here).
  virtual Drawing draw(const CanvasMetrics& m) = 0;
  // A command of the window's menu.
  virtual void onCommand(CanvasView& view, int id) {}
  // The drawing area changed its size (not called for the first size).
  virtual void onResize(CanvasView& view) {}
  // Every timerMs of the window's description while it is open.
  virtual void onTimer(CanvasView& view) {}
};

struct CanvasWindowDesc {
  std::string windowClass;  // the window class it is registered under
  std::string title;        // UTF-8
  std::vector<MenuItem> menu;  // the menu bar: commands (and submenus)
  int timerMs = 1000;
  // Closes the window with result 0 (the keys it keeps for itself).
  std::vector<KeyCode> closeKeys = {key::kF4, key::kEscape};
};

// The window's behaviour in one place for every front end (and tests): the
// close keys, the menu commands, the timer, the size. A front end feeds it
// events and paints what draw() returns whenever redrawWanted() was set.
class CanvasState : public CanvasView {
 public:
  CanvasState(const CanvasWindowDesc& desc, CanvasController& controller)
      : desc_(desc), controller_(controller) {}

  // Runs onOpen (once).
  void open() { controller_.onOpen(*this); }
  // A key: a close key ends the window with 0; true when it was used.
  bool key(KeyCode code) {
    for (KeyCode k : desc_.closeKeys)
      if (k == code) {
        end(0);
        return true;
      }
    return false;
  }
  void command(int id) {
    if (!ended_) controller_.onCommand(*this, id);
  }
  void tick() {
    if (!ended_) controller_.onTimer(*this);
  }
  // The area now has m's size; the first call only records it.
  void resize(const CanvasMetrics& m) {
    const bool changed = sized_ && (m.width != size_.width || m.height != size_.height);
    size_ = m;
    sized_ = true;
    if (changed && !ended_) controller_.onResize(*this);
    redraw_ = true;
  }
  Drawing draw() { return controller_.draw(size_); }
  const CanvasMetrics& metrics() const { return size_; }

  // Whether the picture should be painted again; reading clears it.
  bool takeRedraw() {
    const bool r = redraw_;
    redraw_ = false;
    return r;
  }
  bool ended() const { return ended_; }
  int result() const { return result_; }
  const CanvasWindowDesc& desc() const { return desc_; }

  void redraw() override { redraw_ = true; }
  void end(int result) override {
    if (ended_) return;
    ended_ = true;
    result_ = result;
  }

 private:
  const CanvasWindowDesc& desc_;
  CanvasController& controller_;
  CanvasMetrics size_;
  bool sized_ = false, redraw_ = true, ended_ = false;
  int result_ = 0;
};

}  // namespace ui
