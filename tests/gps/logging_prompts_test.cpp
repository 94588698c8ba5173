// The questions and dialogs of starting and stopping GPS logging.
#include <gtest/gtest.h>

#include "gps/logging_prompts.hpp"
#include "support/scripted_host.hpp"
#include "ui/form_state.hpp"

namespace {

using gps::LogShape;
using testing_support::ScriptedHost;

gps::LevelLogging level(bool points, bool lines, bool polygons) { return {"PLOTS", points, lines, polygons}; }

TEST(LoggingPrompts, ALevelOfOneShapeAsksAndGivesItsOwnTypeText) {
  ScriptedHost host;
  host.expectOnce("Start Logging GPS Point\nFor PLOTS File?", ui::kIdYes, "Start GPS Data Logging");
  auto point = gps::chooseLogStart(host, level(true, false, false));
  ASSERT_TRUE(point);
  EXPECT_EQ(point->shape, LogShape::kPoint);
  EXPECT_EQ(point->fType, "POINT");
  // A second toggle asks again.
  host.expectOnce("Start Logging GPS Point\nFor PLOTS File?", ui::kIdNo);
  EXPECT_FALSE(gps::chooseLogStart(host, level(true, false, false)));

  host.expectOnce("Start Logging GPS Polygon\nFor PLOTS File?", ui::kIdYes);
  auto poly = gps::chooseLogStart(host, level(false, false, true));
  ASSERT_TRUE(poly);
  EXPECT_EQ(poly->fType, "Poly");
  host.expectOnce("Start Logging GPS Line\nFor PLOTS File?", ui::kIdYes);
  EXPECT_EQ(gps::chooseLogStart(host, level(false, true, false))->fType, "Line");

  host.expectOnce("GPS Logging Not Available\nFor This Branch", ui::kIdOk, "GPS Log Error");
  EXPECT_FALSE(gps::chooseLogStart(host, level(false, false, false)));
}

TEST(LoggingPrompts, TheTypeDialogOffersOnlyTheAllowedShapes) {
  ScriptedHost host;
  host.onForm(gps::kStartLoggingDialog, [](ui::FormState& f) {
    EXPECT_FALSE(f.isEnabled(gps::kPointRadio));
    EXPECT_TRUE(f.checked(gps::kLineRadio));  // the first allowed one
    f.press(gps::kPolygonRadio);
    f.press(ui::kIdOkButton);
  });
  auto chosen = gps::chooseLogStart(host, level(false, true, true));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->shape, LogShape::kPolygon);
  EXPECT_EQ(chosen->fType, "POLY");

  host.onForm(gps::kStartLoggingDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_FALSE(gps::chooseLogStart(host, level(true, true, false)));
}

TEST(LoggingPrompts, WhileALogRunsALevelWithPointsOffersAPointOrTheStop) {
  ScriptedHost host;
  host.expectOnce("Stop Logging GPS Line\nFor PLOTS File?", ui::kIdYes, gps::kStopCaption);
  EXPECT_EQ(gps::chooseWhileLogging(host, level(false, true, false), LogShape::kLine, 3), gps::RunningChoice::StopLog);

  host.onForm(gps::kLoggingChoicesDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(2583), "For PLOTS File Record:3");
    f.press(gps::kLogPointButton);
  });
  EXPECT_EQ(gps::chooseWhileLogging(host, level(true, true, false), LogShape::kLine, 3), gps::RunningChoice::LogPoint);

  // "Stop Current Log" asks first; No keeps logging.
  host.onForm(gps::kLoggingChoicesDialog, [](ui::FormState& f) { f.press(gps::kStopLogButton); });
  host.expectOnce("Stop Logging GPS Polygon\nFor PLOTS File?", ui::kIdNo);
  EXPECT_EQ(gps::chooseWhileLogging(host, level(true, false, true), LogShape::kPolygon, 1), gps::RunningChoice::None);
}

TEST(LoggingPrompts, AnExistingFileAndAMoveAwayAsk) {
  ScriptedHost host;
  host.expectOnce("GPS Line File Exists\n This PLOTS Record\nAppend New Data?", ui::kIdNo, gps::kStopCaption);
  EXPECT_EQ(gps::askExistingFile(host, LogShape::kLine, "PLOTS"), gps::ExistingFile::Overwrite);
  host.expectOnce("GPS Line File Exists", ui::kIdCancel);
  EXPECT_EQ(gps::askExistingFile(host, LogShape::kLine, "PLOTS"), gps::ExistingFile::Abandon);
  host.expectOnce("GPS Polygon File Exists", ui::kIdYes);
  EXPECT_EQ(gps::askExistingFile(host, LogShape::kPolygon, "PLOTS"), gps::ExistingFile::Append);

  host.expectOnce(
      "You Must Stop GPS Logging Before\nMoving to a Sibling Level.\n\nStop Logging GPS Line\nFor PLOTS File?",
      ui::kIdYes, gps::kStopCaption);
  EXPECT_TRUE(gps::askStopBeforeMove(host, gps::MoveAway::SiblingLevel, LogShape::kLine, "PLOTS"));
  host.expectOnce("You Must Stop GPS Logging Before\nExiting Dataset.", ui::kIdNo);
  EXPECT_FALSE(gps::askStopBeforeMove(host, gps::MoveAway::LeaveDataset, LogShape::kLine, "PLOTS"));
}

}  // namespace
