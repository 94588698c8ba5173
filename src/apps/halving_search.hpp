#pragma once
// The halving search of check files and look-up tables: the table must be in
// ascending order of the searched field. low = 0, high = record count + 1;
// the middle record is probed until it matches or fewer than 2 records
// remain between the bounds.
#include <cstdint>
#include <string_view>

namespace tablestore {
class Table;
}

namespace apps {

// The record number whose field (1-based) holds exactly key, compared byte
// by byte (unsigned) over the whole text; the caller pads key to the field's
// width. 0 when not found, when the field does not exist, or when a record
// cannot be read.
std::int64_t findTextByHalving(tablestore::Table& table, int field, std::string_view key);

// The same with the field's number compared with key.
std::int64_t findNumberByHalving(tablestore::Table& table, int field, double key);

}  // namespace apps
