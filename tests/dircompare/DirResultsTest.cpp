// Records, their packed flags, the store under concurrent reading, and the tab export.
#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "dircompare/DirResultStore.h"
#include "dircompare/TabExport.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel::dircompare {
namespace {

using lindrel::testing::TempEnvironment;

TEST(DirResultRecordTest, PackedFieldsReadBackSignExtendedAndIndependent) {
  const DirFlag twoBit[] = {DirFlag::kIsFile, DirFlag::kOnlyInMaster, DirFlag::kOnlyInSource,
                            DirFlag::kDateDifferent, DirFlag::kSizeDifferent};
  for (DirFlag flag : twoBit) {
    for (int value : {-1, 0, 1}) {
      DirFlags flags;
      // Neighbours set to -1 (all ones) must neither leak in nor be disturbed.
      for (DirFlag other : twoBit) flags.Set(other, -1);
      flags.Set(DirFlag::kContentDifferent, 2);
      flags.Set(flag, value);
      EXPECT_EQ(flags.Get(flag), value) << "field " << static_cast<int>(flag);
      for (DirFlag other : twoBit) {
        if (other != flag) {
          EXPECT_EQ(flags.Get(other), -1);
        }
      }
      EXPECT_EQ(flags.Get(DirFlag::kContentDifferent), 2);
    }
  }
  DirFlags flags;
  for (int value : {0, 1, 2, -1}) {
    flags.Set(DirFlag::kContentDifferent, value);
    EXPECT_EQ(flags.Get(DirFlag::kContentDifferent), value);
  }
  flags.Clear();
  flags.Set(DirFlag::kIsFile, 1);
  flags.Set(DirFlag::kContentDifferent, 2);
  EXPECT_EQ(flags.word(), 0x0801);
}

TEST(DirResultStoreTest, ReaderSeesOnlyCompleteRecordsWhileTheWriterAppends) {
  constexpr long kRecords = 20000;
  DirResultStore store;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (long i = 0; i < kRecords; ++i) {
      DirResultRecord r;
      r.fileName = "file" + std::to_string(i);
      r.dirMaster = std::string(static_cast<std::size_t>(i % 97), 'm');
      r.flags.Set(DirFlag::kSizeDifferent, static_cast<int>(i % 3) - 1);
      store.Append(std::move(r));
    }
    done = true;
  });
  long checked = 0;
  while (!done || checked < store.Count()) {
    const long count = store.Count();
    for (; checked < count; ++checked) {
      const auto r = store.Get(checked);
      ASSERT_TRUE(r) << checked;
      ASSERT_EQ(r->fileName, "file" + std::to_string(checked));
      ASSERT_EQ(r->dirMaster.size(), static_cast<std::size_t>(checked % 97));
      ASSERT_EQ(r->sizeDifferent(), static_cast<int>(checked % 3) - 1);
    }
    EXPECT_FALSE(store.Get(count + 100000));
  }
  writer.join();
  EXPECT_EQ(checked, kRecords);
  EXPECT_FALSE(store.Get(-1));
  store.Clear();
  EXPECT_EQ(store.Count(), 0);
}

DirResultRecord Record(int isFile, const char* name, const char* master, const char* source) {
  DirResultRecord r;
  r.flags.Set(DirFlag::kIsFile, isFile);
  r.fileName = name;
  r.dirMaster = master;
  r.dirSource = source;
  return r;
}

TEST(TabExportTest, WritesHeaderAndOneLinePerRecordByteForByte) {
  const std::string header =
      "Record\tFileName\tDirMaster\tDirSource\tIsFile\tOnlyInSource\tOnlyInMaster\t"
      "SizeDifferent\tDateDifferent\tContentDifferent\n";
  DirResultRecord older = Record(1, "old.txt", "/m/", "/s/");
  older.flags.Set(DirFlag::kSizeDifferent, -1);
  older.flags.Set(DirFlag::kDateDifferent, -1);
  older.flags.Set(DirFlag::kContentDifferent, 2);
  DirResultRecord onlyMaster = Record(1, "om.txt", "/m/", "/s/");
  onlyMaster.flags.Set(DirFlag::kOnlyInMaster, 1);
  DirResultRecord tabbed = Record(1, "a\tb%s", "/m/", "/s/");
  tabbed.flags.Set(DirFlag::kOnlyInSource, 1);
  DirResultRecord onlySourceDir = Record(0, "sd", "", "/s/sd/");
  onlySourceDir.flags.Set(DirFlag::kOnlyInSource, 1);

  struct Case {
    const char* name;
    std::vector<DirResultRecord> records;
    std::string expected;
  };
  const Case cases[] = {
      {"empty store: header only", {}, header},
      {"root only", {Record(0, "", "/m/", "/s/")}, header + "0\t\t/m/\t/s/\t0\t0\t0\t0\t0\t0\n"},
      {"all kinds",
       {Record(0, "", "/m/", "/s/"), older, onlyMaster, tabbed, onlySourceDir},
       header + "0\t\t/m/\t/s/\t0\t0\t0\t0\t0\t0\n"
                "1\told.txt\t/m/\t/s/\t1\t0\t0\t-1\t-1\t2\n"
                "2\tom.txt\t/m/\t/s/\t1\t0\t1\t0\t0\t0\n"
                "3\ta\tb%s\t/m/\t/s/\t1\t1\t0\t0\t0\t0\n"
                "4\tsd\t\t/s/sd/\t0\t1\t0\t0\t0\t0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempEnvironment env;
    DirResultStore store;
    for (const auto& r : c.records) store.Append(r);
    const auto path = env.Path("export.tab");
    env.Write("export.tab", "old content that must be truncated, longer than the header......");
    ASSERT_TRUE(WriteTabFile(store, path.string()));
    EXPECT_EQ(TempEnvironment::Read(path), c.expected);
  }
}

TEST(TabExportTest, UnopenableTargetWritesNothing) {
  TempEnvironment env;
  DirResultStore store;
  EXPECT_FALSE(WriteTabFile(store, env.Path("no/such/dir/x.tab").string()));
  EXPECT_FALSE(WriteTabFile(store, env.root().string()));  // a directory
}

}  // namespace
}  // namespace lindrel::dircompare
