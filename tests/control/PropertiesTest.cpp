#include <functional>
#include <vector>

#include "lindrel/LindrelCtrl.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using lindrel::testing::TempEnvironment;

struct TextProperty {
  const char* name;
  long dispId;
  std::string (CLindrelCtrl::*get)() const;
  void (CLindrelCtrl::*set)(const std::string&);
  const char* defaultValue;
};

struct LongProperty {
  const char* name;
  long dispId;
  long (CLindrelCtrl::*get)() const;
  void (CLindrelCtrl::*set)(long);
  long defaultValue;
  bool boolean;
};

const TextProperty kTexts[] = {
    {"DirSource", kDispDirSource, &CLindrelCtrl::GetDirSource, &CLindrelCtrl::SetDirSource, ""},
    {"DirMaster", kDispDirMaster, &CLindrelCtrl::GetDirMaster, &CLindrelCtrl::SetDirMaster, ""},
    {"DirFileTypes", kDispDirFileTypes, &CLindrelCtrl::GetDirFileTypes,
     &CLindrelCtrl::SetDirFileTypes, "*.*"},
    {"FileMaster", kDispFileMaster, &CLindrelCtrl::GetFileMaster, &CLindrelCtrl::SetFileMaster, ""},
    {"FileSource", kDispFileSource, &CLindrelCtrl::GetFileSource, &CLindrelCtrl::SetFileSource, ""},
    {"StateFileName", kDispStateFileName, &CLindrelCtrl::GetStateFileName,
     &CLindrelCtrl::SetStateFileName, ""},
    {"ReportFileMaster", kDispReportFileMaster, &CLindrelCtrl::GetReportFileMaster,
     &CLindrelCtrl::SetReportFileMaster, "File Master"},
    {"ReportFileTitle", kDispReportFileTitle, &CLindrelCtrl::GetReportFileTitle,
     &CLindrelCtrl::SetReportFileTitle, "Title"},
    {"ReportFileSource", kDispReportFileSource, &CLindrelCtrl::GetReportFileSource,
     &CLindrelCtrl::SetReportFileSource, "File Source"},
    {"FileIgnoreRegularExpression", kDispFileIgnoreRegularExpression,
     &CLindrelCtrl::GetFileIgnoreRegularExpression, &CLindrelCtrl::SetFileIgnoreRegularExpression,
     ""},
};

#define LONG_PROPERTY(Name, def, boolean) \
  {#Name, kDisp##Name, &CLindrelCtrl::Get##Name, &CLindrelCtrl::Set##Name, def, boolean}

const LongProperty kLongs[] = {
    LONG_PROPERTY(ThreadPriority, 0, false),
    LONG_PROPERTY(DirShowOnlyInMaster, 1, true),
    LONG_PROPERTY(DirShowOnlyInSource, 1, true),
    LONG_PROPERTY(DirDoSubDirectories, 0, true),
    LONG_PROPERTY(DirShowSameInBothPlaces, 1, true),
    LONG_PROPERTY(DirShowDifferentInBothPlaces, 1, true),
    LONG_PROPERTY(DirContentCompare, 1, true),
    LONG_PROPERTY(DirIgnoreDateDifferences, 0, true),
    LONG_PROPERTY(DirThrottle, 1, true),
    LONG_PROPERTY(FileIgnoreCase, 0, true),
    LONG_PROPERTY(FileIgnoreWhiteSpace, 0, true),
    LONG_PROPERTY(FileIgnoreEmptyLines, 0, true),
    LONG_PROPERTY(FileQuickCompare, 0, true),
    LONG_PROPERTY(FileShowChangesInLargerSections, 0, true),
    LONG_PROPERTY(FileCompareFaster, 0, true),
    LONG_PROPERTY(FileUseLineBracket, 0, true),
    LONG_PROPERTY(FileLineBracket, 1, false),
    LONG_PROPERTY(FileUseIgnoreRegularExpression, 0, true),
    LONG_PROPERTY(ReportHTMLHighDetail, 0, true),
    LONG_PROPERTY(ReportDoubleWideCharset, 0, true),
};
#undef LONG_PROPERTY

TEST(PropertiesTest, StartAtTheirDefaults) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  for (const auto& p : kTexts) EXPECT_EQ((ctrl.*p.get)(), p.defaultValue) << p.name;
  for (const auto& p : kLongs) EXPECT_EQ((ctrl.*p.get)(), p.defaultValue) << p.name;
  EXPECT_EQ(ctrl.GetDirCompareTime(), 0);
  EXPECT_EQ(ctrl.GetFileCompareTime(), 0);
  EXPECT_EQ(ctrl.GetDirCompareActive(), 0);
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  EXPECT_EQ(ctrl.GetDirCompareResultsCount(), 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);
  EXPECT_FALSE(ctrl.IsModified());
}

TEST(PropertiesTest, SettersStoreMarkModifiedAndAnnounceTheirDispatchId) {
  TempEnvironment env;
  CLindrelCtrl ctrl("props");
  std::vector<long> notices;
  ctrl.SetPropertyChangedHandler([&](long id) { notices.push_back(id); });

  for (const auto& p : kTexts) {
    notices.clear();
    ctrl.SetModifiedFlag(false);
    (ctrl.*p.set)("/some where/x y");
    EXPECT_TRUE(ctrl.IsModified()) << p.name;
    EXPECT_EQ(notices, std::vector<long>{p.dispId}) << p.name;
    std::string expected = "/some where/x y";
    if (p.dispId == kDispDirSource || p.dispId == kDispDirMaster) expected += "/";
    EXPECT_EQ((ctrl.*p.get)(), expected) << p.name;
  }
  for (const auto& p : kLongs) {
    notices.clear();
    ctrl.SetModifiedFlag(false);
    (ctrl.*p.set)(3);
    EXPECT_TRUE(ctrl.IsModified()) << p.name;
    EXPECT_EQ(notices, std::vector<long>{p.dispId}) << p.name;
    EXPECT_EQ((ctrl.*p.get)(), p.boolean ? 1 : 3) << p.name;
    if (p.boolean) {
      (ctrl.*p.set)(-1);  // any non-zero value reads back TRUE
      EXPECT_EQ((ctrl.*p.get)(), 1) << p.name;
      (ctrl.*p.set)(0);
      EXPECT_EQ((ctrl.*p.get)(), 0) << p.name;
    }
  }
}

TEST(PropertiesTest, DirectorySettersAppendOneSeparator) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  std::vector<long> notices;
  ctrl.SetPropertyChangedHandler([&](long id) { notices.push_back(id); });
  struct Case {
    std::string value;
    std::string stored;
    bool announced;
  } cases[] = {
      {"/data/master", "/data/master/", true},
      {"/data/master/", "/data/master/", true},
      {"ab", "ab/", true},
      {"/", "/", true},
      {"a", "a", true},
      {"", "", false},
  };
  for (const auto& c : cases) {
    for (bool master : {true, false}) {
      notices.clear();
      ctrl.SetModifiedFlag(false);
      if (master) ctrl.SetDirMaster(c.value);
      else ctrl.SetDirSource(c.value);
      EXPECT_EQ(master ? ctrl.GetDirMaster() : ctrl.GetDirSource(), c.stored) << c.value;
      EXPECT_EQ(ctrl.IsModified(), c.announced) << c.value;
      EXPECT_EQ(notices.size(), c.announced ? 1u : 0u) << c.value;
    }
  }
}

TEST(PropertiesTest, ThreadPriorityIgnoresValuesOutsideTheScale) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  ctrl.SetThreadPriority(3);
  ctrl.SetModifiedFlag(false);
  for (long value : {5L, -1L, 100L}) {
    ctrl.SetThreadPriority(value);
    EXPECT_EQ(ctrl.GetThreadPriority(), 3) << value;
  }
  EXPECT_FALSE(ctrl.IsModified());
  ctrl.SetThreadPriority(0);
  EXPECT_EQ(ctrl.GetThreadPriority(), 0);
  ctrl.SetThreadPriority(4);
  EXPECT_EQ(ctrl.GetThreadPriority(), 4);
}

TEST(PropertiesTest, ThreadPriorityScaleDescriptions) {
  const char* expected[] = {"Idle (0)", "Lowest (1)", "Normal (2)", "Highest (3)",
                            "Time Critical (4)"};
  for (long i = 0; i < 5; ++i) EXPECT_STREQ(ThreadPriorityDescription(i), expected[i]);
  EXPECT_EQ(ThreadPriorityDescription(5), nullptr);
  EXPECT_EQ(static_cast<long>(ThreadPriorities::TimeCritical), 4);
}

TEST(PropertiesTest, ResetRestoresDefaultsThenReadsTheStateFile) {
  TempEnvironment env;
  env.Write("home/reset.INI", "[General]\nm_report_file_title=From file\n");
  CLindrelCtrl ctrl("reset");
  EXPECT_EQ(ctrl.GetReportFileTitle(), "From file");
  ctrl.SetFileMaster("/tmp/x");
  ctrl.SetReportFileTitle("Changed");
  ctrl.ResetProperties();
  EXPECT_EQ(ctrl.GetFileMaster(), "");
  EXPECT_EQ(ctrl.GetReportFileTitle(), "From file");
  EXPECT_EQ(ctrl.GetStateFileName(), "reset");
}

TEST(PropertiesTest, AboutBoxGoesThroughTheHandler) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  ctrl.AboutBox();  // no handler: nothing happens
  int shown = 0;
  ctrl.SetAboutBoxHandler([&] { ++shown; });
  ctrl.AboutBox();
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace lindrel
