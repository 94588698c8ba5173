#pragma once
// The dialog that names a new dataset (resource 114): one entry field for
// the name, OK and Cancel. OK checks the name and, when it is good, fixes
// the new dataset's number; otherwise the dialog stays open with the name
// for correction.
#include <string>

#include "ui/form.hpp"

namespace ui {
class Host;
}

namespace datasets {

inline constexpr int kCreateDatasetResource = 114;
inline constexpr int kDatasetNameControl = 1140;
// The field takes 26 characters, of which 25 are read.
inline constexpr int kDatasetNameLimit = 26;
inline constexpr std::size_t kDatasetNameRead = 25;

struct NewDataset {
  std::string name;  // trimmed on both sides
  int number = 0;    // the first free dataset number
};

ui::Form createDatasetForm();

// The checks of OK, in this order, for the entered text (at most 25
// characters of it are read), each refusal shown as its box:
//   1 empty after trimming trailing blanks: "Dataset Name:%s Is Not Vaild\n
//     ReEnter Dataset Name" (caption "Dataset Error:CL10");
//   2 a character other than a letter, digit, blank, "-" or "_":
//     "Dataset Name:\"%s\" Is Not Vaild\nOnly Letters, Digits, Dashes,
//     Underscores, or Spaces Allowed\nPlease ReEnter Dataset Name"
//     (caption "Dataset Error");
//   3 a bundle of that name ("[name]*.*" in the data folder): "Dataset
//     Name:\"%s\" Is Already Bundled\nPlease Enter a New Dataset Name"
//     (caption "Create Dataset Error");
//   4 a raw dataset of that name ("?? 1A____[name]*.*"): "Create Dataset
//     Name:\"%s\" Is Already Started\nPlease Enter a New Dataset Name"
//     (caption "Dataset Error");
//   5 no dataset number free: "All 99 Dataset Numbers Are In Use\nErase or
//     Bundle a Dataset First" (caption "Dataset Error").
// %s is the name as entered; the file checks use the name trimmed on both
// sides (the name the dataset gets), matched without regard to case.
// Returns 0 and fills out when the name is good, else the number of the
// failed check.
int checkNewDatasetName(ui::Host& host, const std::string& entered, const std::string& dataFolder, char sep,
                        NewDataset& out);

// Runs the dialog: 1 with out filled when a good name was given, 0 when the
// user cancelled.
int createDataset(ui::Host& host, const std::string& dataFolder, char sep, NewDataset& out);

}  // namespace datasets
