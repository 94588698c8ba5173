#pragma once
// The plain pick list over a column's check file (F2 on a code-list column).
#include <cstdint>

#include "editor/choice_rows.hpp"
#include "editor/engine.hpp"

namespace tablestore {
class Table;
}

namespace editor {

inline constexpr const char* kPickBuildingTitle = "Building List a";
inline constexpr const char* kPleaseWait = "Please Wait";
inline constexpr const char* kNoMemoryForList = "  Memory Alloc Limit  ";
inline constexpr const char* kPartialListLine1 = "Mem Allocation Limit";
inline constexpr const char* kPartialListLine2 = "Only Partial List";

// "< Choices:%d >" for count rows.
std::string choicesFooter(int count);

// Builds the list of the already open check file (box "Building List a"
// "Please Wait" meanwhile) and shows it with the first row selected.
// Returns the record number of the chosen row; 0 for Escape, a click
// outside, an empty file or the abort code (e.aborted is then set). When
// not even the title row can be had it writes "  Memory Alloc Limit  " at
// row 2, column 2, beeps and returns 0; when memory runs out part way the
// warning "Mem Allocation Limit" "Only Partial List" comes before the list
// of the rows made. memoryRows as for buildPickRows. The caller copies the
// chosen record's first field into the edit buffer.
[[nodiscard]] std::int64_t pickFromCheckFile(Engine& e, tablestore::Table& checkFile,
                                             int memoryRows = kUnlimitedMemory);

}  // namespace editor
