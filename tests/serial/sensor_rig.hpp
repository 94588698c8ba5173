#pragma once
// The set-up of the sensor tests: an engine session over an application
// with a sensor column, a real port layer over fake serial lines, and hooks
// that hand the engine's sensor input to the SensorInput under test. While
// the sensor field runs, each pump of the host takes the next step of the
// test (feed the line, press a key, wait for something); when the steps are
// used up the session's own key script goes on. The port's reader thread
// runs in real time, so a step that feeds a line waits until the reader has
// handled every byte: the field sees the line at its next read.
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "editor/engine.hpp"
#include "editor/engine_fixture.hpp"
#include "editor/fake_programs.hpp"
#include "serial/port_layer.hpp"
#include "serial/sensor_input.hpp"
#include "support/fake_serial.hpp"

namespace sensor_test {

// A step returns true when it is done; false to be tried again at the next pump.
using Step = std::function<bool(editor::Engine&)>;

class SensorHooks : public editor_test::FakePrograms {
 public:
  SensorHooks(serial::SensorInput& input, testing_support::ScriptedHost& host) : input_(input), host_(host) {}

  ui::KeyCode sensorInput(editor::Engine& e, int column, ui::KeyCode key) override {
    std::function<void()> script = host_.onPump;
    long tries = 0;
    host_.onPump = [&, script] {
      if (steps.empty()) {
        if (script) script();
        return;
      }
      if (steps.front()(e)) {
        steps.pop_front();
        tries = 0;
      } else if (++tries > kMaxTries) {
        ADD_FAILURE() << "a step never came true";
        steps.clear();
        e.keys.abort();
      }
    };
    const ui::KeyCode end = input_.sensorInput(e, column, key);
    host_.onPump = script;
    ends.push_back(end);
    return end;
  }
  int sensorPort(const editor::Engine& e) const override { return input_.sensorPortOf(e); }

  std::deque<Step> steps;
  std::vector<ui::KeyCode> ends;  // what each sensor input returned

 private:
  static constexpr long kMaxTries = 2'000'000;
  serial::SensorInput& input_;
  testing_support::ScriptedHost& host_;
};

class SensorTest : public editor_test::EngineTest {
 protected:
  static constexpr int kPort = 3;

  // The level: a sensor column S (character, width 6) reading definition
  // serialJson, then the columns of extraColumns (JSON objects, each with a
  // leading comma) and a NOTE column.
  void open(const std::string& serialJson, const std::string& extraColumns = "",
            const std::string& sensorColumn = R"("type": "C", "width": 6)") {
    buildApp(R"([ { "code": "A____", "table": "READINGS", "serial": [ )" + serialJson + R"( ],
        "columns": [
          { "field": "S", )" + sensorColumn + R"(, "title": "S", "fieldType": "sensor", "sensor": "caliper" })" +
             extraColumns + R"(,
          { "field": "NOTE", "type": "C", "width": 4, "title": "NOTE" } ] } ])");
    openDataset();
  }

  Step feed(const std::string& text) {
    return [this, text](editor::Engine&) {
      line->feed(text);
      EXPECT_TRUE(line->waitUntilConsumed());
      return true;
    };
  }
  static Step press(ui::KeyCode key) {
    return [key](editor::Engine& e) {
      (void)e.keys.push(key);
      return true;
    };
  }
  static Step until(std::function<bool()> done) {
    return [done](editor::Engine&) { return done(); };
  }
  static Step act(std::function<void(editor::Engine&)> fn) {
    return [fn](editor::Engine& e) {
      fn(e);
      return true;
    };
  }
  // The trimmed field texts of the level's first record.
  std::vector<std::string> firstRecord() {
    auto records = level1Records();
    return records.empty() ? std::vector<std::string>{} : records.front();
  }

  testsupport::FakeSerialPorts ports;
  std::shared_ptr<testsupport::FakeSerialLine> line = ports.line(kPort);
  serial::PortLayer layer{ports.opener()};
  serial::SensorInput input{layer};
  SensorHooks hooks{input, host};
};

// How often text occurs in s.
inline int occurrences(const std::string& s, const std::string& text) {
  int n = 0;
  for (std::size_t at = s.find(text); at != std::string::npos; at = s.find(text, at + text.size())) ++n;
  return n;
}

}  // namespace sensor_test
