#pragma once
// Reading an existing table file's structure and working out how many of its
// records are real, before a Table is made of it.
#include <cstdint>

#include "tablestore/table_file.hpp"
#include "tablestore/table_layout.hpp"

namespace tablestore {

struct OpenedTable {
  TableLayout layout;
  std::int64_t count = 0;    // records the table holds
  bool headerStale = false;  // the stored count differs from count
  bool untidyTail = false;   // bytes after the last record other than one 0x1A
};

// Reads header and descriptors (bounded by the file's size) and the record
// count: the stored count when every one of those records is whole on disk;
// fewer when the file ends sooner; more when whole records follow that the
// count does not cover (an append whose count was not yet written) and each
// carries a deletion flag (' ' or '*'). 0, or kErrLength, kErrRead (system code
// in systemError), kErrData, kErrFieldType.
int readTable(TableFile& file, OpenedTable& out, int& systemError);

}  // namespace tablestore
