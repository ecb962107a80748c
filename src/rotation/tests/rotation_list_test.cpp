#include "rotation/core/rotation_list.h"

#include <gtest/gtest.h>

namespace iv::rotation {
namespace {

using Strings = std::vector<std::string>;

class RotationListTest : public ::testing::Test {
 protected:
  // The stored list must be exactly "Count" and "1".."Count", nothing else.
  void ExpectStored(const Strings& expected) {
    const auto values = backend_.Values(settings::Hive::CurrentUser,
                                        "SOFTWARE\\Dravolt Software\\Iconvane for AIM\\Icons");
    EXPECT_EQ(values.size(), expected.size() + 1);
    EXPECT_EQ(store_.Get("Icons", "Count", "?"), std::to_string(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(store_.Get("Icons", std::to_string(i + 1), "?"), expected[i]);
  }
  RotationEntries Loaded() {
    RotationEntries list;
    list.Load(store_);
    return list;
  }
  RotationEntries Saved(const Strings& entries) {
    RotationEntries list;
    list.Append(entries);
    list.Save(store_);
    return list;
  }

  settings::MemoryBackend backend_;
  settings::Store store_{backend_};
};

TEST_F(RotationListTest, AddKeepsDuplicatesAndTrimsOnlyTheFileRow) {
  RotationEntries list;
  list.Add("Animals", " cat.gif");
  list.Add("Animals", " cat.gif ");
  list.Add(" Odd ", "dog.gif");
  list.Save(store_);
  ExpectStored({"Animals\\cat.gif", "Animals\\cat.gif", " Odd \\dog.gif"});
  EXPECT_EQ(Loaded().entries(), list.entries());
}

TEST_F(RotationListTest, EditsReturnTheNewSelection) {
  RotationEntries list = Saved({"a", "b", "c", "d"});
  EXPECT_EQ(list.Remove(1), 1);   // the row that took its place
  EXPECT_EQ(list.Remove(2), 1);   // the new last row
  EXPECT_EQ(list.Remove(-1), -1);  // none selected: nothing happens
  EXPECT_EQ(list.MoveUp(0), 0);
  EXPECT_EQ(list.MoveDown(1), 1);
  EXPECT_EQ(list.MoveDown(-1), -1);
  EXPECT_EQ(list.entries(), (Strings{"a", "c"}));
  EXPECT_EQ(list.MoveDown(0), 1);
  EXPECT_EQ(list.MoveUp(1), 0);
  EXPECT_EQ(list.MoveDown(0), 1);
  list.Save(store_);
  ExpectStored({"c", "a"});
  list.Remove(0);
  EXPECT_EQ(list.Remove(0), -1);
  list.Save(store_);
  ExpectStored({});
}

TEST_F(RotationListTest, MissingValueLoadsAnEmptyRowAndStaleValuesGoOnSave) {
  store_.Set("Icons", "Count", "3");
  store_.Set("Icons", "1", "a");
  store_.Set("Icons", "3", "c");
  store_.Set("Icons", "4", "stale");
  store_.Set("Icons", "02", "not a row");
  RotationEntries list = Loaded();
  EXPECT_EQ(list.entries(), (Strings{"a", "", "c"}));
  list.Add("x", "y.gif");
  list.Save(store_);
  ExpectStored({"a", "", "c", "x\\y.gif"});
}

TEST_F(RotationListTest, StoredCountIsBounded) {
  const std::pair<const char*, size_t> cases[] = {{"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"-5", 0}, {"", 0},
                                                  {"32768", kMaxEntries}, {"99999999999999999999999999", kMaxEntries}};
  for (const auto& [text, count] : cases) EXPECT_EQ(CountFromText(text), count) << text;
  store_.Set("Icons", "Count", "4000000000");
  store_.Set("Icons", "1", "a");
  RotationEntries list = Loaded();
  ASSERT_EQ(list.size(), kMaxEntries);
  EXPECT_EQ(list.at(0), "a");
  EXPECT_FALSE(list.Add("full", "x.gif"));  // what is stored must load again
  EXPECT_EQ(list.Append({"x"}), 0u);
}

TEST_F(RotationListTest, RefusedDeleteOverwritesAndALaterSaveCleansUp) {
  RotationEntries list = Saved({"a", "b", "c"});
  store_.Set("Icons\\Temp", "Count", "1");  // the download queue blocks deleting "Icons"
  list.Remove(0);
  list.Save(store_);
  EXPECT_EQ(store_.Get("Icons", "Count", ""), "2");
  EXPECT_EQ(store_.Get("Icons", "2", ""), "c");
  store_.DeleteSection("Icons\\Temp");
  list.Add("d", "e.gif");
  list.Save(store_);
  ExpectStored({"b", "c", "d\\e.gif"});
}

TEST_F(RotationListTest, AddWritesOnlyTheNewValueUnlessAnotherCopyChangedTheSection) {
  Strings many(1000, "cat\\x.gif");
  Saved(many);
  RotationEntries list = Loaded();
  const int before = backend_.writes();
  list.Add("new", " one.gif");
  list.Save(store_);
  EXPECT_EQ(backend_.writes() - before, 2);
  EXPECT_EQ(store_.Get("Icons", "1001", "?"), "new\\one.gif");
  EXPECT_EQ(store_.Get("Icons", "1000", "?"), "cat\\x.gif");

  RotationEntries other = Loaded();
  other.Clear();
  other.Save(store_);
  list.Add("new", "two.gif");
  list.Save(store_);
  many.push_back("new\\one.gif");
  many.push_back("new\\two.gif");
  ExpectStored(many);
}

// A write that leaves every value as it was (another copy saving the same list) costs
// one look over the section, not a rewrite.
TEST_F(RotationListTest, TheSameValuesWrittenAgainStillAllowAChangesOnlySave) {
  Saved({"a\\1.gif", "b\\2.gif"});
  RotationEntries list = Loaded();
  store_.Set("Icons", "2", "b\\2.gif");
  const int before = backend_.writes();
  list.Add("c", "3.gif");
  list.Save(store_);
  EXPECT_EQ(backend_.writes() - before, 2);
  ExpectStored({"a\\1.gif", "b\\2.gif", "c\\3.gif"});
}

// Another copy, a hand-off or regedit may change values while "Count" stays: a write
// of the changed values only would then store a mix of two lists.
TEST_F(RotationListTest, ValuesChangedBehindOurBackAreRewrittenWhole) {
  RotationEntries list = Saved({"a", "b", "c"});
  RotationEntries other = Loaded();
  other.Remove(1);
  other.Add("x", "y.gif");
  other.Save(store_);  // same count, other values
  list.Add("d", "e.gif");
  list.Save(store_);
  ExpectStored({"a", "b", "c", "d\\e.gif"});

  // A value deleted by hand.
  store_.DeleteSection("Icons");
  store_.Set("Icons", "Count", "4");
  for (const char* n : {"1", "3"}) store_.Set("Icons", n, list.at(std::stoul(n) - 1));
  store_.Set("Icons", "4", "d\\e.gif");
  list.Add("f", "g.gif");
  list.Save(store_);
  ExpectStored({"a", "b", "c", "d\\e.gif", "f\\g.gif"});
  // A value added by hand.
  store_.Set("Icons", "7", "stray");
  list.Add("h", "i.gif");
  list.Save(store_);
  ExpectStored({"a", "b", "c", "d\\e.gif", "f\\g.gif", "h\\i.gif"});
}

}  // namespace
}  // namespace iv::rotation
