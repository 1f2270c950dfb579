#include "reports/TextReport.h"

#include "lindrel/Errors.h"
#include "reports/ReportFile.h"

namespace lindrel::reports {

namespace {

void WriteCount(ReportFile& out, long count, std::string_view singular,
                std::string_view plural) {
  if (count == 1) {
    out.Write(singular);
    return;
  }
  out.Write("\t");
  out.Write(count);
  out.Write(plural);
}

void WriteLines(ReportFile& out, const LineTable& table, long first, long last,
                std::string_view indent) {
  for (long k = first; k <= last; ++k) {
    out.Write(indent);
    out.Write(LineText(table, k));
  }
}

void WriteBlock(ReportFile& out, long n, const engine::ChangeRecord& r, const LineTable& master,
                const LineTable& source) {
  switch (r.kind) {
    case engine::kAddition:
      out.Write("\n++++++++ [");
      out.Write(n);
      out.Write("] Addition at line ");
      out.Write(r.masterStart);
      out.Write(" ++++++++");
      WriteLines(out, source, r.sourceStart, r.sourceEnd, "\n");
      break;
    case engine::kChange:
      out.Write("\n^^^^^^^^ [");
      out.Write(n);
      out.Write("] Change at line (");
      out.Write(r.masterStart);
      out.Write(") ^^^^^^^^");
      out.Write("\n  Master");
      WriteLines(out, master, r.masterStart, r.masterEnd, "\n    ");
      out.Write("\n  Source");
      WriteLines(out, source, r.sourceStart, r.sourceEnd, "\n    ");
      break;
    case engine::kDeletion:
      out.Write("\n-------- [");
      out.Write(n);
      out.Write("] Deletion at line (");
      out.Write(r.sourceStart);
      out.Write(") --------");
      WriteLines(out, master, r.masterStart, r.masterEnd, "\n");
      break;
    default:
      break;
  }
}

}  // namespace

bool WriteTextReport(const std::string& target, const ReportInputs& inputs,
                     const LineTable& master, const LineTable& source) {
  ReportFile out;
  if (!out.Open(target)) {
    inputs.FireError(kErrorUnableToOpenFile, target);
    return false;
  }
  const long count = inputs.RecordCount();
  out.Write("File Comparison Report\n\n");
  out.Write("Date and Time: ");
  out.Write(inputs.timestamp);
  out.Write("\nOriginal File: ");
  out.Write(inputs.masterCaption);
  out.Write("\nModified File: ");
  out.Write(inputs.sourceCaption);
  out.Write("\n\nCompare File Results: \n\t");
  if (inputs.differWithoutRecords && count == 0) {
    // "0 Differences found" would say the opposite of the truth.
    out.Write(kDifferWithoutRecordsText);
    out.Write("\n");
  } else {
    out.Write(count);
    out.Write(" Differences found\n");
  }
  if (count > 0) {
    WriteCount(out, inputs.counters.changes, "\t1 Change found\n", " Changes found\n");
    WriteCount(out, inputs.counters.additions, "\t1 Addition found\n", " Additions found\n");
    WriteCount(out, inputs.counters.deletions, "\t1 Deletion found\n", " Deletions found\n");
  }
  for (long n = 1; n <= count; ++n) {
    out.Write("\n\n");
    WriteBlock(out, n, inputs.records[static_cast<std::size_t>(n - 1)], master, source);
  }
  if (!out.Close()) {
    inputs.FireError(kErrorUnableToOpenFile, target);
    return false;
  }
  return true;
}

}  // namespace lindrel::reports
