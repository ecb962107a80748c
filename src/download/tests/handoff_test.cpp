#include "download/core/handoff.h"

#include <gtest/gtest.h>

namespace iv::download {

using settings::Hive;

class HandOffTest : public ::testing::Test {
 protected:
  settings::MemoryBackend mem;
  settings::Store store{mem};
};

TEST_F(HandOffTest, AddedQueueRoundTripsInOrder) {
  WriteQueue(store, "Funny Cats", {"Funny Cats\\a.gif", "Funny Cats\\b.gif", "Funny Cats\\c.gif"}, true);
  EXPECT_EQ(store.Get("Icons\\Temp", "DLDir", ""), "Funny Cats");
  EXPECT_EQ(store.Get("Icons\\Temp", "Count", ""), "3");
  EXPECT_EQ(store.Get("Icons\\Temp", "2", ""), "Funny Cats\\b.gif");
  const Queue q = ReadQueue(store);
  EXPECT_EQ(q.dir, "Funny Cats");
  EXPECT_EQ(q.entries, (std::vector<std::string>{"Funny Cats\\a.gif", "Funny Cats\\b.gif", "Funny Cats\\c.gif"}));
}

TEST_F(HandOffTest, NotAddedQueueHoldsOnlyTheCategory) {
  WriteQueue(store, "Old", {"Old\\1.gif", "Old\\2.gif"}, true);
  WriteQueue(store, "Cats", {"Cats\\a.gif"}, false);
  EXPECT_EQ(store.Get("Icons\\Temp", "Count", "none"), "none");
  EXPECT_EQ(store.Get("Icons\\Temp", "1", "none"), "none");
  const Queue q = ReadQueue(store);
  EXPECT_EQ(q.dir, "Cats");
  EXPECT_TRUE(q.entries.empty());
}

TEST_F(HandOffTest, ReadingDropsUnsafeEntriesAndDistrustsCount) {
  store.Set("Icons\\Temp", "DLDir", "Cats");
  store.Set("Icons\\Temp", "Count", "2000000000");
  store.Set("Icons\\Temp", "1", "Cats\\a.gif");
  store.Set("Icons\\Temp", "2", "..\\..\\evil.gif");
  store.Set("Icons\\Temp", "3", " Cats\\b.gif ");
  const Queue q = ReadQueue(store);
  EXPECT_EQ(q.entries, (std::vector<std::string>{"Cats\\a.gif", "Cats\\b.gif"}));
}

TEST_F(HandOffTest, ClearingLetsTheRotationSectionBeDeletedAgain) {
  store.Set("Icons", "Count", "1");
  WriteQueue(store, "Cats", {"Cats\\a.gif"}, true);
  store.DeleteSection("Icons");
  EXPECT_EQ(store.Get("Icons", "Count", "0"), "1");  // refused while the queue exists
  ClearQueue(store);
  EXPECT_FALSE(mem.KeyExists(Hive::CurrentUser, settings::KeyPath(settings::kRoot, settings::kApp, "Icons\\Temp")));
  store.DeleteSection("Icons");
  EXPECT_EQ(store.Get("Icons", "Count", "0"), "0");
}

TEST_F(HandOffTest, ProtocolRegistrationQuotesPathAndLink) {
  RegisterProtocol(store, "icvan", "C:\\Program Files\\Iconvane\\iconvane.exe");
  EXPECT_EQ(store.GetRegValue("icvan", "", "", "x", Hive::ClassesRoot, ""), "URL: Picvane Protocol");
  EXPECT_EQ(store.GetRegValue("icvan", "", "URL Protocol", "x", Hive::ClassesRoot, ""), "");
  EXPECT_EQ(store.GetRegValue("icvan", "shell\\open\\command", "", "", Hive::ClassesRoot, ""),
            "\"C:\\Program Files\\Iconvane\\iconvane.exe\" \"%1\"");
  // Nothing lands in the program's own settings.
  EXPECT_TRUE(mem.Values(Hive::CurrentUser, settings::KeyPath(settings::kRoot, settings::kApp, "")).empty());
}

}  // namespace iv::download
