// Shared by the download Wine tests: a temporary program folder.
#pragma once
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/support/driver.h"

namespace iv::download::testing {

namespace fs = std::filesystem;

// A small whole GIF as far as the download looks: signature, a tag, the trailer.
inline std::string Gif(const std::string& tag = "") {
  return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13) + tag + ";";
}

// A fresh program folder whose name holds a blank, with an empty Icon Library.
class TempProgramFolder {
 public:
  TempProgramFolder() { fs::create_directories(library()); }
  const std::wstring& path() const { return path_; }
  fs::path library() const { return fs::path(path_) / L"Icon Library"; }
  // Every file in the Icon Library, relative to it, with forward slashes.
  std::vector<std::string> LibraryFiles() const;

 private:
  e2e::TempDir dir_;
  std::wstring path_ = dir_ / L"iv dl";
};

using e2e::ReadAll;

}  // namespace iv::download::testing
