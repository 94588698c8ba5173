#pragma once
// Sensor columns: while the cursor is in a column of the sensor field type,
// its value comes from an instrument on a serial port. The field editor
// keeps the port open, polls the instrument when the definition asks,
// filters and cuts each received line into a value, lets the definition's
// program accept or change it, and stores it as a keyed value is stored
// (through the column's checks), into this column or spread over several.
// Ctrl+S sends a typed text to the instrument, Ctrl+T shows the terminal.
// Everything runs on the UI thread and polls the port layer.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/keys.hpp"

namespace apps {
class SerialDef;
}
namespace editor {
struct Engine;
}

namespace serial {

class PortLayer;

// The texts the sensor input shows.
inline constexpr const char* kOpeningPortLine = "Opening Comm Port";
inline constexpr const char* kPleaseWaitLine = "Please Wait...";
inline constexpr const char* kKeyboardLine1 = "Input Set to Keyboard";
inline constexpr const char* kKeyboardLine2 = "Exit Data level";
inline constexpr const char* kKeyboardLine3 = " to Reset to RS232";
inline constexpr const char* kSensorListTitle = "<Sensor Data>";
inline constexpr const char* kSensorListPrompt = "<Enter = Store>";
inline constexpr const char* kSendPrompt = "Send to Sensor";
// Under the port's last read or write failure ("Com3 ReadFile() error:1117.").
inline constexpr const char* kPortErrorLine = "Check the Sensor Cable";
inline constexpr int kPortErrorTenths = 300;
inline constexpr int kSendChars = 15;         // the send box takes at most this many characters
inline constexpr std::uint64_t kPollMs = 2000;  // mode 3 asks again after this long
inline constexpr std::size_t kLineBuffer = 200;

// Modes of a definition.
inline constexpr int kModeList = 2, kModePoll = 3, kModeRequest = 4;

// The serial input definition of column k of the current level when k is a
// sensor column with one, else nullptr.
const apps::SerialDef* sensorDefOf(const editor::Engine& e, int k);

class SensorInput {
 public:
  explicit SensorInput(PortLayer& ports);

  // What the engine's sensor hook forwards: key 0 runs the field editor on
  // column k (letters of each line made capitals when the column asks for
  // capitals); Ctrl+T / Alt+T (pressed on the column) shows the terminal of
  // its port and returns that key. 0 when k is no sensor column or its port
  // could not be opened (the engine then lets the crew key the value).
  ui::KeyCode sensorInput(editor::Engine& e, int k, ui::KeyCode key);

  // The field editor of sensor column k. Returns the key that ended the
  // field: 13 when a value was stored, 513, 515, ui::key::kAbort, or a key
  // that leaves the field (the engine's commands); 0 when k is no sensor
  // column or its port failed to open (the column is then keyed from now on).
  // A stored value has passed the column's checks and is in the record
  // buffer; a spread value is on file and the cursor stands on the last
  // target column (Enter then moves on from there).
  ui::KeyCode sensorFieldEdit(editor::Engine& e, int k, ui::KeyCode key, bool upperCase);

  // Opens column k's port unless it is open: 0 ready, 1 failed (the three
  // line warning was shown and the column turned to keyboard entry, field
  // type general, until the level's definition is read again).
  [[nodiscard]] int openSensorPort(editor::Engine& e, int k);

  // Spreads the tokens of the last line over the target columns of column
  // k's definition: with validate-each every text is checked first and a
  // refusal stores nothing. 1 stored (the record is on file), 0 refused or
  // nothing to spread.
  [[nodiscard]] int spreadSensorValues(editor::Engine& e, int k);

  // The port the current column of e reads its sensor from; 0 when it is no
  // sensor column.
  int sensorPortOf(const editor::Engine& e) const;

  // The editor's state: the last accepted line and the value cut from it
  // (both empty until a line passes the filter, and after a store).
  const std::string& lastLine() const { return line_; }
  const std::string& value() const { return value_; }

 private:
  enum class Taken { Ignored, Held, Ended };
  Taken takeLine(editor::Engine& e, const apps::SerialDef& def, std::string line, bool upperCase);
  bool storeValue(editor::Engine& e, int k);
  void sendRequest(const apps::SerialDef& def);
  void sendBox(editor::Engine& e, int port);
  void clearHeld();

  PortLayer& ports_;
  std::string line_, value_, shown_;
  std::vector<std::string> tokens_;
  std::vector<std::string> listRows_;  // the list window's values, newest last
};

}  // namespace serial
