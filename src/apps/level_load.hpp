#pragma once
// Reading the control files of one level table, in the fixed order .bct,
// .ctl (header, LevelInfo, ColumnField array, ColumnDef entries, ColumnCheck
// entries), .ser, .rnd, .jpt, .bcf, with the status and phase of every
// failure. Every file's length is checked against what its counts ask before
// anything of it is used.
#include <memory>
#include <string>

#include "apps/level_definition.hpp"

namespace apps {

enum LevelLoadStatus : int {
  kLevelMissing = 1,  // "Can't Find:%s"
  kLevelOpen = 2,     // "Opening %s"
  kLevelCorrupt = 3,  // "%s is Corrupt"
  kLevelRead = 4,     // "Reading %s"
  kLevelMemory = 5,   // "Malloc for %s"
};

struct LevelLoad {
  int ok = 0;      // 1 success, 0 failure
  int status = 0;  // LevelLoadStatus on failure
  int phase = 0;
};

// Reads the control files of the table tableName8 (8-bit, as stored in
// app.ctl) from appFolder (UTF-8) into a new definition, put in out on
// success (out is reset on failure: nothing of a failed load is kept).
// nameOut receives the path of each file as it is read, so after a failure it
// names the file that failed.
//
// Failures (status, phase):
//   .bct  missing 1,10; cannot be opened 2,0; length not 4624 3,12; read
//         fails 4,13; short 4,0. Also 3,12 for a .bct whose LastColumn lies
//         outside 0-251, whose optional counts are negative, or whose child or
//         sibling count passes 26: the arrays behind them cannot hold it.
//   .ctl  missing 1,20; cannot be opened 2,21; length not 2962c + 15926 3,22;
//         the definition cannot be allocated 5,1; header 4,1; LevelInfo 4,2;
//         ColumnField array: allocation 5,3, read 4,3; a ColumnDef entry 4,4;
//         a ColumnCheck entry 4,5.
//   .ser  missing 1,10; cannot be opened 2,6; length not (n + 1) × 816 3,6;
//         allocation 5,6; read 4,3.
//   .rnd, .jpt  missing 1,7; cannot be opened 2,7; length 3,7; allocation
//         5,7; read 4,3. (.rnd and .jpt hold n + 1 entries.)
//   .bcf  missing 1,8; cannot be opened 2,8; length not n × 808 3,8;
//         allocation 5,8; read 4,3.
// An optional file whose count is 0 is not looked for. A table name that is
// empty or holds a path separator, a drive colon or a wildcard is reported
// as a missing .bct (1,10): it could name no file of the folder.
LevelLoad readLevel(const std::string& appFolder, const std::string& tableName8,
                    std::unique_ptr<LevelDefinition>& out, std::string& nameOut);

}  // namespace apps
