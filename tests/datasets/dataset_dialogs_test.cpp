// Finding the datasets of a data folder, numbering new ones, and the two
// dataset dialogs: the list (111) and naming a new dataset (114).
#include <gtest/gtest.h>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "datasets/choose_dataset.hpp"
#include "datasets/create_dataset.hpp"
#include "datasets/dataset_list.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/keys.hpp"

namespace {

using datasets::kCreateDatasetResource;
using datasets::kDatasetListControl;
using datasets::kDatasetNameControl;

class DatasetDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    data = v.dataPath;
  }
  void touch(const std::string& name) { testing_support::writeBytes(data + platform::kSep + name, "x"); }
  void name(const std::string& text) {
    host.onForm(kCreateDatasetResource, [text](ui::FormState& f) {
      f.type(kDatasetNameControl, text);
      f.press(ui::kIdOkButton);
    });
  }
  int create(datasets::NewDataset& out) { return datasets::createDataset(host, data, v.style.sep, out); }

  testing_support::TempDir dir;
  std::string data;
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, v, v.tables};
};

TEST_F(DatasetDialogsTest, DatasetsAreFoundByTheirLevelOneTables) {
  touch("03 1A____[North Block]ABC___~~TREES.dbf");
  touch("03 1A____[North Block]ABC___#$$DataAppVer.dbf");
  touch("03 2AA___[North Block]ABC___~   1~PLOTS.dbf");
  touch("01 1A____[South]XYZ123~~TREES.dbf");
  touch("01 1A____[South]ABC___~~TREES.dbf");       // the same dataset from another unit: listed once
  touch("05 1A____[East]ABC___~~TREES.db$");
  touch("[West]1A____ABC___+TREES.dbf");            // bundled: not a raw dataset
  touch("x5 1A____[Bad]ABC___~~TREES.dbf");         // no number
  touch("06 1A____[Odd#Name]ABC___~~TREES.dbf");    // a name no dataset can have
  touch("07 1A____[Open-ended.dbf");                // no "]"
  platform::makeFolder(data + platform::kSep + "08 1A____[Folder]ABC___~~T.dbf");
  const std::vector<datasets::DatasetEntry> found = datasets::findDatasets(data, v.style.sep);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(datasets::datasetListEntry(found[0]), "01 [South]");
  EXPECT_EQ(found[0].unitCode, "ABC___");
  EXPECT_EQ(datasets::datasetListEntry(found[1]), "03 [North Block]");
  EXPECT_EQ(found[1].fileName, "03 1A____[North Block]ABC___~~TREES.dbf");
}

TEST_F(DatasetDialogsTest, NewNumbersFillTheFirstGap) {
  EXPECT_EQ(datasets::firstFreeDatasetNumber(data, v.style.sep), 1);
  touch("01 1A____[A]ABC___~~T.dbf");
  touch("02 1A____[B]ABC___~~T.dbf");
  touch("04 1A____[D]ABC___~~T.dbf");
  touch("03 1A____[C]ABC___~~T.db$");  // not a table: 03 is free
  EXPECT_EQ(datasets::firstFreeDatasetNumber(data, v.style.sep), 3);
}

TEST_F(DatasetDialogsTest, AllNinetyNineTaken) {
  for (int n = 1; n <= 99; ++n) touch(base::format("%02d 1A____[D%d]ABC___~~T.dbf", n, n));
  EXPECT_FALSE(datasets::freeDatasetNumber(data, v.style.sep).has_value());
  EXPECT_EQ(datasets::firstFreeDatasetNumber(data, v.style.sep), 1);
  host.expect("All 99 Dataset Numbers Are In Use", ui::kIdOk, "Dataset Error");
  datasets::NewDataset out;
  EXPECT_EQ(datasets::checkNewDatasetName(host, "Fresh", data, v.style.sep, out), 5);
}

TEST_F(DatasetDialogsTest, NamesOfLettersDigitsBlanksDashesAndUnderscores) {
  touch("01 1A____[A]ABC___~~T.dbf");
  host.expect("Dataset Name:\"Plot#1\" Is Not Vaild\nOnly Letters, Digits, Dashes, Underscores, or Spaces "
              "Allowed\nPlease ReEnter Dataset Name",
              ui::kIdOk, "Dataset Error");
  datasets::NewDataset out;
  EXPECT_EQ(datasets::checkNewDatasetName(host, "Plot#1", data, v.style.sep, out), 2);
  EXPECT_EQ(datasets::checkNewDatasetName(host, "Plot 1_a-b", data, v.style.sep, out), 0);
  EXPECT_EQ(out.name, "Plot 1_a-b");
  EXPECT_EQ(out.number, 2);
}

TEST_F(DatasetDialogsTest, EmptyNamesAreRefusedAsEntered) {
  host.expect("Dataset Name:    Is Not Vaild\nReEnter Dataset Name", ui::kIdOk, "Dataset Error:CL10");
  datasets::NewDataset out;
  EXPECT_EQ(datasets::checkNewDatasetName(host, "   ", data, v.style.sep, out), 1);
}

TEST_F(DatasetDialogsTest, AStartedOrBundledNameIsTakenWhateverItsCase) {
  touch("03 1A____[North Block]ABC___~~TREES.dbf");
  touch("[South]1A____ABC___+TREES.dbf");
  host.expect("Create Dataset Name:\"north block\" Is Already Started\nPlease Enter a New Dataset Name", ui::kIdOk,
              "Dataset Error");
  host.expect("Dataset Name:\" South\" Is Already Bundled\nPlease Enter a New Dataset Name", ui::kIdOk,
              "Create Dataset Error");
  datasets::NewDataset out;
  EXPECT_EQ(datasets::checkNewDatasetName(host, "north block", data, v.style.sep, out), 4);
  // The name the dataset would get (trimmed) is the one looked for.
  EXPECT_EQ(datasets::checkNewDatasetName(host, " South", data, v.style.sep, out), 3);
}

TEST_F(DatasetDialogsTest, TheDialogStaysOpenUntilTheNameIsGood) {
  host.expect("Is Not Vaild", ui::kIdOk, "Dataset Error");
  host.onForm(kCreateDatasetResource, [](ui::FormState& f) {
    EXPECT_EQ(f.form().find(kDatasetNameControl)->limit, 26);
    f.type(kDatasetNameControl, "Plot#1");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    EXPECT_EQ(f.text(kDatasetNameControl), "Plot#1");
    // 26 characters may be typed; 25 are read.
    f.type(kDatasetNameControl, "  Abcdefghijklmnopqrstuvwx");
    f.press(ui::kIdOkButton);
  });
  datasets::NewDataset out;
  EXPECT_EQ(create(out), 1);
  EXPECT_EQ(out.name, "Abcdefghijklmnopqrstuvw");  // the 26th character ("x") is not read
  EXPECT_EQ(out.number, 1);
  host.onForm(kCreateDatasetResource, [](ui::FormState& f) { f.key(ui::key::kEscape); });
  EXPECT_EQ(create(out), 0);
}

TEST_F(DatasetDialogsTest, TheListOpensTheSelectedDataset) {
  touch("01 1A____[South]ABC___~~T.dbf");
  touch("03 1A____[North Block]XYZ123~~T.dbf");
  v.settings.setCurDatasetName("North Block");
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(kDatasetListControl), (std::vector<std::string>{"01 [South]", "03 [North Block]"}));
    EXPECT_EQ(f.selection(kDatasetListControl), 1);
    f.key(ui::key::kDown);  // stops at the end
    f.key(ui::key::kEnter);
  });
  datasets::DatasetChoice choice;
  ASSERT_EQ(datasets::chooseDataset(ctx, data, "ABC___", choice), 1);
  EXPECT_EQ(choice.number, 3);
  EXPECT_EQ(choice.name, "North Block");
  EXPECT_EQ(choice.unitCode, "XYZ123");  // the files of another unit keep their names
  EXPECT_EQ(app.appCtl().datasetNumber(), 3);
  EXPECT_EQ(app.appCtl().datasetName(), "North Block");
  EXPECT_TRUE(app.appCtl().datasetChosen());
  // The choice is remembered in the settings file.
  config::SettingsRecord saved;
  config::loadSettings(host, v.installRoot, config::DefaultPaths{v.installRoot, "", ""}, saved, v.style.sep);
  EXPECT_EQ(saved.curDatasetName(), "North Block");
}

TEST_F(DatasetDialogsTest, TypingSelectsAndOpenTakes) {
  touch("01 1A____[South]ABC___~~T.dbf");
  touch("02 1A____[North]ABC___~~T.dbf");
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) {
    EXPECT_EQ(f.selection(kDatasetListControl), 0);
    f.key('0');  // the next entry beginning with "0"
    f.press(datasets::kOpenDatasetButton);
  });
  datasets::DatasetChoice choice;
  ASSERT_EQ(datasets::chooseDataset(ctx, data, "ABC___", choice), 1);
  EXPECT_EQ(choice.name, "North");
}

TEST_F(DatasetDialogsTest, NewNamesADatasetAndCancelledNewShowsTheListAgain) {
  touch("01 1A____[South]ABC___~~T.dbf");
  touch("02 1A____[North]ABC___~~T.dbf");
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.press(datasets::kNewDatasetButton); });
  host.onForm(kCreateDatasetResource, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.press(datasets::kNewDatasetButton); });
  name("East Ridge");
  datasets::DatasetChoice choice;
  ASSERT_EQ(datasets::chooseDataset(ctx, data, "UNIT01", choice), 1);
  EXPECT_EQ(choice.number, 3);
  EXPECT_EQ(choice.name, "East Ridge");
  EXPECT_EQ(choice.unitCode, "UNIT01");
  EXPECT_TRUE(choice.created);
  EXPECT_EQ(v.settings.curDatasetName(), "East Ridge");
  EXPECT_EQ(host.forms().size(), 4u);
}

TEST_F(DatasetDialogsTest, EscapeEndsWithoutAChoiceAndAnEmptyFolderGoesStraightToNew) {
  touch("01 1A____[South]ABC___~~T.dbf");
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.key(ui::key::kEscape); });
  datasets::DatasetChoice choice;
  EXPECT_EQ(datasets::chooseDataset(ctx, data, "ABC___", choice), 0);
  EXPECT_FALSE(app.appCtl().datasetChosen());

  const std::string empty = dir.file("Empty");
  platform::makeFolder(empty);
  host.onForm(kCreateDatasetResource, [](ui::FormState& f) {
    f.type(kDatasetNameControl, "First");
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(datasets::chooseDataset(ctx, empty, "ABC___", choice), 1);
  EXPECT_EQ(choice.number, 1);
  EXPECT_EQ(app.appCtl().datasetName(), "First");
}

}  // namespace
