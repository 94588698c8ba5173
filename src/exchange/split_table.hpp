#pragma once
// Splitting one bundle table back into the raw tables its records' keys name.
//
// A bundle carries every record's ancestor keys in its leading key fields
// ("KEY_A..."; coordinate bundles "L1_KEY", "L2_KEY", ... by position): at
// most five are read, never the table's last field, and a level-n bundle
// needs n-1 of them (a coordinate bundle n). A bundle that names no field as
// a key (the bundles this program merges from its raw tables) holds the key
// path by position, as the raw tables do: its first fields are the keys, the
// level-k key in field k. Each record goes to the raw
// table built from the new dataset number, the bundle's level and level
// code, dataset name and unit code (a unit code of "000000" or longer than
// six characters gives way to this unit's), the keys joined by "-", and the
// bundle's table name. A raw table is created with the bundle's field list
// when it does not exist yet, and the whole record buffer is appended.
//
// Bundles come from other machines, so a key is outside input: a key that
// cannot stand in a file name (see keyNamesFile), or keys that would make a
// raw name too long for the name lists (kMaxListedNameBytes), refuse that one
// record with a message, and no file is ever made outside the data folder.
//
// Records are written under the staging mark: the raw table's extension
// "dbf" becomes "db~" and "GPF" becomes "GP~". The caller makes them live
// (livePartner) once the whole bundle is split; until then no part of a
// bundle's split is visible as data.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tablestore {
class TableStore;
}

namespace exchange {

inline constexpr int kMaxKeyFields = 5;
inline constexpr std::size_t kMaxKeyLength = 30;
inline constexpr const char* kStagedTableExtension = "db~";
inline constexpr const char* kStagedCoordinateExtension = "GP~";

// Folder and names are UTF-8, as the file system holds them; the keys in the
// records are 8-bit text and become UTF-8 in the staged names.
struct SplitRequest {
  std::string folder;        // the data folder, without a trailing separator
  std::string bundleName;    // file name of the bundle inside folder
  std::string unitHint;      // the unit code of the dataset's level-1 bundle ("" when unknown):
                             // tells a longer unit code from the table name at levels 2-5
  int datasetNumber = 0;     // the new dataset number, 1-99
  std::string thisUnitCode;  // this unit's unit code
};

struct SplitResult {
  int records = 0;                     // records in the bundle
  int written = 0;                     // records appended to staged raw tables
  std::vector<std::string> staged;     // file names of the staged tables, in order first written
  std::vector<std::string> refusals;   // one message per refused record
  std::string failure;                 // why the table could not be split ("" when it could)
};

enum class SplitOutcome {
  kSplit,      // every record written or refused (refusals says which)
  kNoBundle,   // the bundle name is not one, or its parts make no raw name
  kFailed,     // the bundle could not be read or a raw table not written; failure says why
  kStopped,    // onRecord asked to stop
};

// Splits the bundle; after each record onRecord (when set) gets the record
// number and the record count, and returns false to stop there. Every table opened here is closed before the
// call returns. On kFailed the staged tables already written stay for the
// caller to remove.
[[nodiscard]] SplitOutcome splitTable(tablestore::TableStore& store, const SplitRequest& request,
                                      SplitResult& result,
                                      const std::function<bool(int, int)>& onRecord = {});

// True when a key read from a bundle may stand in a file name: fileNameSafe,
// no "~", no "..", at most kMaxKeyLength characters before its trailing
// blanks, and not a device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9,
// LPT1-9 and COM/LPT with a superscript 1-3, with or without an extension,
// any case, blanks around it ignored).
bool keyNamesFile(std::string_view key);

// The staged name of a raw table name ("...dbf" -> "...db~", "...GPF" ->
// "...GP~"); "" when the name has neither extension.
std::string stagedPartner(std::string_view liveName);
// The live name of a staged name; "" when the name is not staged.
std::string livePartner(std::string_view stagedName);

}  // namespace exchange
