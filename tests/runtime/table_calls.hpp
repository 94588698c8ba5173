#pragma once
// Calls of the table built-ins on a machine of their own, with the
// application folder in a fresh temporary folder, and small tables made with
// the table store for the built-ins to read.
#include <string>
#include <vector>

#include "runtime/machine.hpp"
#include "runtime/program_image.hpp"
#include "runtime/run_context.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/field_list.hpp"

namespace runtime_test {

class TableCalls {
 public:
  TableCalls();
  // A string constant in the data segment (tag 64).
  runtime::StackEntry str(const std::string& s);
  static runtime::StackEntry num(double v) { return runtime::StackEntry::number(v); }
  // Calls built-in n with the arguments (the first deepest) and returns the
  // result register; text() is the text result when one was asked for.
  double call(int n, const std::vector<runtime::StackEntry>& args, bool wantsText = false);
  const std::string& text() const { return text_; }
  int status() const { return m.status; }

  double define(const std::string& name, const std::string& type, int length, int decimals) {
    return call(129, {str(name), str(type), num(length), num(decimals)});
  }
  double open(const std::string& name) { return call(130, {str(name)}); }
  double put(double h, int column, double record, runtime::StackEntry v) {
    return call(134, {v, num(h), num(column), num(record)});
  }
  double get(double h, int column, double record) { return call(135, {num(h), num(column), num(record)}); }
  std::string getText(double h, int column, double record) {
    call(135, {num(h), num(column), num(record)}, true);
    return text_;
  }

  testing_support::TempDir dir;
  runtime::ProgramImage image;
  runtime::Machine m;
  runtime::RunContext ctx;

 private:
  std::string text_;
};

// Creates a table file with the fields and records (one text per field;
// numeric fields take the text's number) through a store of its own.
void makeTable(const std::string& path, const std::vector<tablestore::FieldSpec>& fields,
               const std::vector<std::vector<std::string>>& records);

}  // namespace runtime_test
