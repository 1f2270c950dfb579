#include "reports/DelimitedReport.h"

#include "lindrel/Errors.h"
#include "reports/ReportFile.h"

namespace lindrel::reports {

namespace {

struct Separator {
  std::string_view field;
  std::string_view columns;
};

Separator SeparatorFor(Delimiter delimiter) {
  if (delimiter == Delimiter::kTab) return {"\t", "#\tDiff\tLine\tFile Content"};
  return {",", "#,Diff,Line,File Content"};
}

void WriteCount(ReportFile& out, std::string_view sep, long count, std::string_view singular,
                std::string_view plural) {
  out.Write(sep);
  if (count == 1) {
    out.Write(singular);
    return;
  }
  out.Write(count);
  out.Write(plural);
}

class RowWriter {
 public:
  RowWriter(ReportFile& out, std::string_view sep, long n, const engine::ChangeRecord& r)
      : out_(out), sep_(sep), n_(n), r_(r) {}

  void Prefix() {
    out_.Write(n_);
    out_.Write(sep_);
    switch (r_.kind) {
      case engine::kAddition: out_.Write("A"); break;
      case engine::kChange: out_.Write("C"); break;
      default: out_.Write("D"); break;
    }
    out_.Write(sep_);
    out_.Write(r_.kind == engine::kDeletion ? r_.sourceStart : r_.masterStart);
  }

  // Rows of an addition or a deletion: each begins with a line end.
  void LeadingRows(const LineTable& table, long first, long last) {
    for (long k = first; k <= last; ++k) {
      out_.Write("\n");
      Prefix();
      out_.Write(sep_);
      out_.Write(LineText(table, k));
    }
  }

  // Rows of one side of a change: each ends with a line end.
  void TrailingRows(const LineTable& table, long first, long last, std::string_view label) {
    for (long k = first; k <= last; ++k) {
      Prefix();
      out_.Write(label);
      out_.Write(sep_);
      out_.Write(LineText(table, k));
      out_.Write("\n");
    }
  }

 private:
  ReportFile& out_;
  std::string_view sep_;
  long n_;
  const engine::ChangeRecord& r_;
};

}  // namespace

bool WriteDelimitedReport(const std::string& target, Delimiter delimiter,
                          const ReportInputs& inputs, const LineTable& master,
                          const LineTable& source) {
  const long count = inputs.RecordCount();
  // An empty result leaves any older file of that name as it was.
  if (count == 0) return true;

  ReportFile out;
  if (!out.Open(target)) {
    inputs.FireError(kErrorUnableToOpenFile, target);
    return false;
  }
  const Separator sep = SeparatorFor(delimiter);
  out.Write("File Comparison Report\n\n");
  out.Write("Date and Time: ");
  out.Write(inputs.timestamp);
  out.Write("\nOriginal File: ");
  out.Write(inputs.masterCaption);
  out.Write("\nModified File: ");
  out.Write(inputs.sourceCaption);
  out.Write("\n\nCompare File Results: \n");
  out.Write(sep.field);
  out.Write(count);
  out.Write(" Differences found\n");
  WriteCount(out, sep.field, inputs.counters.changes, "1   Change found\n", " Changes found\n");
  WriteCount(out, sep.field, inputs.counters.additions, "1 Addition found\n",
             " Additions found\n");
  WriteCount(out, sep.field, inputs.counters.deletions, "1 Deletion found\n",
             " Deletions found\n");
  out.Write("\n");
  out.Write(sep.columns);

  for (long n = 1; n <= count; ++n) {
    out.Write("\n\n");
    const engine::ChangeRecord& r = inputs.records[static_cast<std::size_t>(n - 1)];
    RowWriter rows(out, sep.field, n, r);
    switch (r.kind) {
      case engine::kAddition:
        rows.LeadingRows(source, r.sourceStart, r.sourceEnd);
        break;
      case engine::kDeletion:
        rows.LeadingRows(master, r.masterStart, r.masterEnd);
        break;
      case engine::kChange:
        out.Write("\n  Original ");
        rows.TrailingRows(master, r.masterStart, r.masterEnd, " Master ");
        out.Write("\n  Modified ");
        rows.TrailingRows(source, r.sourceStart, r.sourceEnd, " Source ");
        break;
      default:
        break;
    }
  }
  if (!out.Close()) {
    inputs.FireError(kErrorUnableToOpenFile, target);
    return false;
  }
  return true;
}

}  // namespace lindrel::reports
