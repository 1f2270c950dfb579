// The text, comma-delimited and tab-delimited writers, from tables and records.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reports/DelimitedReport.h"
#include "reports/TextReport.h"
#include "tests/reports/ReportTestSupport.h"

namespace lindrel::reports {
namespace {

using testing::Rec;
using testing::TempEnvironment;

using Writer = std::function<bool(const std::string&, const ReportInputs&, const LineTable&,
                                  const LineTable&)>;

bool Text(const std::string& t, const ReportInputs& in, const LineTable& m, const LineTable& s) {
  return WriteTextReport(t, in, m, s);
}
bool Comma(const std::string& t, const ReportInputs& in, const LineTable& m, const LineTable& s) {
  return WriteDelimitedReport(t, Delimiter::kComma, in, m, s);
}
bool Tab(const std::string& t, const ReportInputs& in, const LineTable& m, const LineTable& s) {
  return WriteDelimitedReport(t, Delimiter::kTab, in, m, s);
}

struct Errors {
  std::vector<std::pair<long, std::string>> fired;
  ErrorSink Sink() {
    return [this](long code, const std::string& detail) { fired.emplace_back(code, detail); };
  }
};

// One change, two additions and one deletion.
ReportInputs SampleInputs(Errors& errors) {
  ReportInputs in;
  in.records = {Rec('a', 1, 1, 2, 2), Rec('c', 4, 4, 5, 5), Rec('d', 6, 6, 6, 6),
                Rec('a', 8, 8, 9, 10)};
  in.counters = {.additions = 2, .changes = 1, .deletions = 1};
  in.masterCaption = "master.txt";
  in.sourceCaption = "source.txt";
  in.timestamp = testing::kFixedTimestamp;
  in.onError = errors.Sink();
  return in;
}

TEST(TextReportTest, DelimitedReportsWithoutRecordsTouchNothing) {
  for (Writer write : {Writer(Comma), Writer(Tab)}) {
    TempEnvironment env;
    Errors errors;
    ReportInputs in = SampleInputs(errors);
    in.records.clear();
    const std::string older = env.Write("older.csv", "older content").string();
    const std::string fresh = env.Path("fresh.csv").string();
    EXPECT_TRUE(write(older, in, testing::TableOf({}), testing::TableOf({})));
    EXPECT_TRUE(write(fresh, in, testing::TableOf({}), testing::TableOf({})));
    EXPECT_EQ(TempEnvironment::Read(older), "older content");
    EXPECT_FALSE(std::filesystem::exists(fresh));
  }
}

TEST(TextReportTest, CountLinesTakeSingularOnlyForOne) {
  struct Case {
    ChangeCounts counters;
    Writer write;
    std::string expected;
  } cases[] = {
      {{.additions = 2, .changes = 1, .deletions = 0},
       Text,
       "\t1 Change found\n\t2 Additions found\n\t0 Deletions found\n"},
      {{.additions = 1, .changes = 0, .deletions = 1},
       Text,
       "\t0 Changes found\n\t1 Addition found\n\t1 Deletion found\n"},
      {{.additions = 1, .changes = 1, .deletions = 1},
       Comma,
       ",1   Change found\n,1 Addition found\n,1 Deletion found\n"},
      {{.additions = 0, .changes = 3, .deletions = 2},
       Comma,
       ",3 Changes found\n,0 Additions found\n,2 Deletions found\n"},
      {{.additions = 1, .changes = 1, .deletions = 1},
       Tab,
       "\t1   Change found\n\t1 Addition found\n\t1 Deletion found\n"},
  };
  for (const Case& c : cases) {
    TempEnvironment env;
    Errors errors;
    ReportInputs in = SampleInputs(errors);
    in.records = {Rec('c', 1, 1, 1, 1)};
    in.counters = c.counters;
    const std::string target = env.Path("r").string();
    ASSERT_TRUE(c.write(target, in, testing::TableOf({"m"}), testing::TableOf({"s"})));
    const std::string report = TempEnvironment::Read(target);
    EXPECT_NE(report.find("1 Differences found\n" + c.expected), std::string::npos) << report;
  }
}

TEST(TextReportTest, AFailedWriteIsReportedAsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (Writer write : {Writer(Text), Writer(Comma), Writer(Tab)}) {
    Errors errors;
    EXPECT_FALSE(
        write("/dev/full", SampleInputs(errors), testing::TableOf({"m"}), testing::TableOf({"s"})));
    ASSERT_EQ(errors.fired.size(), 1u);
    EXPECT_EQ(errors.fired[0], std::make_pair(504L, std::string("/dev/full")));
  }
}

TEST(TextReportTest, LinesBeyondTheTablesAreQuotedEmpty) {
  // The files changed after the comparison: the report still ends properly.
  TempEnvironment env;
  Errors errors;
  ReportInputs in = SampleInputs(errors);
  in.records = {Rec('c', 2, 3, 2, 2)};
  const std::string target = env.Path("r.txt").string();
  ASSERT_TRUE(WriteTextReport(target, in, testing::TableOf({"a"}), testing::TableOf({"b"})));
  const std::string report = TempEnvironment::Read(target);
  EXPECT_EQ(report.substr(report.find("^^^")),
            "^^^^^^^^ [1] Change at line (2) ^^^^^^^^\n  Master\n    \n    \n  Source\n    ");
}

}  // namespace
}  // namespace lindrel::reports
