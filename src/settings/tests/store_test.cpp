#include "settings/core/store.h"

#include <gtest/gtest.h>

namespace iv::settings {

TEST(KeyPath, JoinsOnlyTheNonEmptyParts) {
  EXPECT_EQ(KeyPath("SOFTWARE\\Dravolt Software", "Iconvane for AIM", "Icons\\Temp"),
            "SOFTWARE\\Dravolt Software\\Iconvane for AIM\\Icons\\Temp");
  EXPECT_EQ(KeyPath("", "icvan", "shell\\open\\command"), "icvan\\shell\\open\\command");
  EXPECT_EQ(KeyPath("", "icvan", ""), "icvan");
  EXPECT_EQ(KeyPath("root", "", "sec"), "root\\sec");
  EXPECT_EQ(KeyPath("", "", ""), "");
}

class StoreTest : public ::testing::Test {
 protected:
  MemoryBackend mem;
  Store store{mem};
};

TEST_F(StoreTest, MissingValuesGiveTheDefaultAndEmptyTextStaysEmpty) {
  EXPECT_EQ(store.Get("Options", "Rotate", "4"), "4");
  EXPECT_EQ(store.Get("Options", "Time", ""), "");
  store.Set("Options", "Time", "");
  EXPECT_EQ(store.Get("Options", "Time", "NONE"), "");
}

TEST_F(StoreTest, NumbersReadAsDecimalTextAndOtherTypesAsTheDefault) {
  const std::string path = KeyPath(kRoot, kApp, "Options");
  RawValue dword;
  dword.kind = RawValue::Kind::Number;
  dword.number = 7;
  mem.WriteRaw(Hive::CurrentUser, path, "Minutes", dword);
  mem.WriteRaw(Hive::CurrentUser, path, "Blob", RawValue{});
  EXPECT_EQ(store.Get("Options", "Minutes", "15"), "7");
  EXPECT_EQ(store.Get("Options", "Blob", "dflt"), "dflt");
}

TEST_F(StoreTest, WritingCreatesTheKeysAlongThePath) {
  store.Set("Options", "Minutes", "20");
  EXPECT_TRUE(mem.KeyExists(Hive::CurrentUser, "SOFTWARE\\Dravolt Software"));
  EXPECT_TRUE(mem.KeyExists(Hive::CurrentUser, "software\\dravolt software\\iconvane for aim"));
  EXPECT_EQ(store.Get("OPTIONS", "minutes", ""), "20");
}

TEST_F(StoreTest, ASectionWithSubKeysIsNotDeleted) {
  store.Set("Icons", "Count", "1");
  store.Set("Icons\\Temp", "DLDir", "Cats");
  EXPECT_TRUE(store.DeleteRegSection(kApp, "Icons"));
  EXPECT_EQ(store.Get("Icons", "Count", ""), "1");
  store.DeleteSection("Icons\\Temp");
  EXPECT_EQ(store.Get("Icons\\Temp", "DLDir", "gone"), "gone");
  store.DeleteSection("Icons");
  EXPECT_EQ(store.Get("Icons", "Count", "gone"), "gone");
}

TEST_F(StoreTest, AStampChangesWithEveryWriteAndOnlyThen) {
  const std::string path = KeyPath(kRoot, kApp, "Icons");
  EXPECT_EQ(mem.Stamp(Hive::CurrentUser, path), std::nullopt);
  store.Set("Icons", "Count", "1");
  const auto first = mem.Stamp(Hive::CurrentUser, path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->values, 1u);
  store.Get("Icons", "Count", "");
  EXPECT_EQ(mem.Stamp(Hive::CurrentUser, path), first);
  store.Set("Icons", "Count", "1");  // the same text written again is still a write
  EXPECT_NE(mem.Stamp(Hive::CurrentUser, path), first);
  // Deleted and written anew with the same values: another stamp.
  const auto second = mem.Stamp(Hive::CurrentUser, path);
  store.DeleteSection("Icons");
  store.Set("Icons", "Count", "1");
  EXPECT_NE(mem.Stamp(Hive::CurrentUser, path), second);
}

TEST_F(StoreTest, HivesAndRootsAreSeparate) {
  store.SetRegValue("icvan", "", "", "URL: Picvane Protocol", Hive::ClassesRoot, "");
  EXPECT_EQ(store.GetRegValue("icvan", "", "", "-", Hive::ClassesRoot, ""), "URL: Picvane Protocol");
  EXPECT_EQ(store.GetRegValue("icvan", "", "", "-", Hive::CurrentUser, ""), "-");
}

}  // namespace iv::settings
