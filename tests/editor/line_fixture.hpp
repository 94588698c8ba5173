#pragma once
// An engine on the level-1 table of a test dataset, driven by direct calls
// instead of a key script: the line operations are called as the
// dispatcher calls them, message boxes answered by the scripted host.
#include <memory>
#include <string>
#include <vector>

#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/level_state.hpp"
#include "editor/line_ops.hpp"
#include "engine_fixture.hpp"
#include "tablestore/table.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace editor_test {

class LineEngineTest : public EngineTest {
 protected:
  // Opens a new dataset of the application and an engine on its level 1.
  void startEngine(const std::string& levelsJson, editor::EngineHooks& hooks = editor::noHooks()) {
    buildApp(levelsJson);
    openDataset();
    engine = std::make_unique<editor::Engine>(host, ctx, session, hooks, screen, keys);
    ASSERT_TRUE(editor::openLevelState(engine->levels[1], 1, *ctx.app.level(1), *session.level(1)->table));
    engine->current = 1;
  }
  editor::Engine& e() { return *engine; }
  editor::LevelState& s() { return engine->level(); }

  // Appends records with the field texts by name (numeric fields as the
  // numbers the texts hold), then enters line 1.
  void addLines(const std::vector<std::vector<std::pair<std::string, std::string>>>& lines) {
    tablestore::Table* t = s().table;
    for (const auto& line : lines) {
      ASSERT_EQ(t->appendStart(), 0);
      for (const auto& [field, text] : line) {
        tablestore::TableField* f = t->fieldByName(field);
        ASSERT_NE(f, nullptr) << field;
        // Numbers are stored as the engine stores them: right-aligned.
        if (f->type() == 'N' && !text.empty()) ASSERT_EQ(f->assignNumber(std::stod(text)), 0);
        else ASSERT_EQ(f->assignText(text), 0);
      }
      ASSERT_EQ(t->append(), 0);
    }
    ASSERT_EQ(t->flush(), 0);
    s().header().setLineCount(static_cast<std::int32_t>(t->recordCount()));
    ASSERT_TRUE(editor::enterLine(e(), 1));
  }
  // Field j (1-based) of every line, trimmed, read from the table file.
  std::vector<std::string> column(int j) {
    std::vector<std::string> out;
    for (const auto& r : level1Records()) out.push_back(r[static_cast<std::size_t>(j - 1)]);
    return out;
  }

  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::unique_ptr<editor::Engine> engine;
};

}  // namespace editor_test
