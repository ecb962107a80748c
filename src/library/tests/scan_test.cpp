#include "library/core/scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace iv::library {
namespace fs = std::filesystem;

namespace {

// Lists a "folder\pattern" search path from the real file system; only "*.*" is understood.
std::vector<DirEntry> ListNative(const std::string& query) {
  std::string folder = query.substr(0, query.rfind('\\'));
  std::replace(folder.begin(), folder.end(), '\\', '/');
  std::vector<DirEntry> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) out.push_back({e.path().filename().string(), e.is_directory()});
  return out;
}

class TempTree : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937_64 rng(std::random_device{}());
    root_ = fs::temp_directory_path() / ("iv_scan_" + std::to_string(rng()));
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  void File(const std::string& rel) {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel) << "GIF89a";
  }
  void Dir(const std::string& rel) { fs::create_directories(root_ / rel); }
  std::string Root() const { return root_.string(); }  // no trailing separator, as callers pass it

  fs::path root_;
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace

TEST_F(TempTree, ListsCategoryFoldersButNotDotFolders) {
  Dir("Cats");
  Dir("Big Dogs");
  Dir(".hidden");
  Dir(".");
  File("Cats/a.gif");
  const ScanResult r = ScanFolder(ListNative, Root(), "*.*");
  EXPECT_EQ(Sorted(r.folders), (std::vector<std::string>{"Big Dogs", "Cats"}));
  EXPECT_TRUE(r.fileRows.empty());  // files of sub-folders are not listed
}

TEST_F(TempTree, ListsGifFilesInLowerCaseAfterABlank) {
  File("DOG.GIF");
  File("cat.gif");
  File("bird.png");
  File("notes.txt");
  File("gif");
  Dir("Sub.gif");  // a folder named like an icon is a folder
  const ScanResult r = ScanFolder(ListNative, Root(), "*.*");
  EXPECT_EQ(Sorted(r.fileRows), (std::vector<std::string>{" cat.gif", " dog.gif"}));
  EXPECT_EQ(r.folders, std::vector<std::string>{"Sub.gif"});
}

TEST_F(TempTree, MissingFolderGivesNothing) {
  const ScanResult r = ScanFolder(ListNative, Root() + "/nope", "*.*");
  EXPECT_TRUE(r.folders.empty());
  EXPECT_TRUE(r.fileRows.empty());
}

TEST(ScanFolder, SearchPathIsTrimmedAndEndsWithOneBackslash) {
  std::vector<std::string> queries;
  const DirLister spy = [&](const std::string& query) {
    queries.push_back(query);
    return std::vector<DirEntry>{};
  };
  ScanFolder(spy, "  C:\\P\\Icon Library  ", "*.*");
  ScanFolder(spy, "C:\\P\\Icon Library\\", "*.*");
  EXPECT_EQ(queries, (std::vector<std::string>{"C:\\P\\Icon Library\\*.*", "C:\\P\\Icon Library\\*.*"}));
}

TEST(ScanFolder, NamesAreCutAtNulsAndListingOrderIsKept) {
  const DirLister fixed = [](const std::string&) {
    return std::vector<DirEntry>{{std::string("Zed\0junk", 8), true},  {"..", true},       {"B.gif", false},
                                 {std::string("a.GIF\0xx", 8), false}, {"Apes", true},     {"", false}};
  };
  const ScanResult r = ScanFolder(fixed, "X", "*.*");
  EXPECT_EQ(r.folders, (std::vector<std::string>{"Zed", "Apes"}));
  EXPECT_EQ(r.fileRows, (std::vector<std::string>{" b.gif", " a.gif"}));
}

}  // namespace iv::library
