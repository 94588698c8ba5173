#pragma once
// Moving between the levels of the hierarchy: opening a chosen child table
// below the current record and closing a child level again, with the
// "PARENT", "CHILD%d" and "STATUS%d" links kept. The edit window composes
// them with the child and sibling lists (datasets/child_choice.hpp): a
// sibling is a closeChildLevel followed by openChildTable at the same level.
#include <string>

namespace apps {
struct AppContext;
}

namespace datasets {

struct DataSession;

// Opens the child table tableName (8-bit) below the current record of the
// table open at parentLevel (1-4): TableName := tableName, its control files
// are loaded at parentLevel + 1 (a failure is reported with the load-error
// message), its level code is its .bct's code (or, when that does not
// belong below the parent, the parent's code with the child's letter
// childNumber), its data table is opened or created, and with
// KeepChildFields or KeepStatusFields the links are written. Returns 1; 0
// when the parent level is not open, loading or opening failed.
int openChildTable(apps::AppContext& ctx, DataSession& session, int parentLevel, const std::string& tableName,
                   int childNumber);

// Before the child level (2-5) closes: the parent's "CHILD%d" and
// "STATUS%d" are cleared when the level's lines were deleted, else
// "STATUS%d" is refreshed; then the level's table is closed with its
// position kept (datasets/level_tables.hpp) and the level becomes the
// parent's. 0, or the table store's code of the first failure.
int closeChildLevel(apps::AppContext& ctx, DataSession& session, int level);

}  // namespace datasets
