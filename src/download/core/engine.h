// The download of one command link: one icon (AddIcon) or an icon list (AddList)
// into a category folder of the Icon Library. The platform side supplies fetching,
// the library's files and the status display through DownloadSite.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace iv::download {

inline constexpr std::string_view kTextFailed = "Update Failed - Please try again Later.";
inline constexpr std::string_view kTextSkipped = "Skipped - Icon already Exists";
inline constexpr std::string_view kTextNotIcon = "Skipped - Not a valid Icon";

// How many icons of a list may be under way at once, the current one included.
inline constexpr int kFetchAhead = 8;

struct Fetched {
  enum class Status { Ok, Failed, Cancelled } status = Status::Failed;
  std::string body;
};

class DownloadSite {
 public:
  virtual ~DownloadSite() = default;
  // Fetches a whole body; keeps the window alive while it waits.
  virtual Fetched Fetch(const std::string& url) = 0;
  // Starts fetching an icon ahead of its turn; its Fetch then collects the reply.
  virtual void Prefetch(const std::string& /*url*/, const std::string& /*category*/, const std::string& /*file*/) {}
  // Set once the window is being closed.
  virtual bool Cancelled() const = 0;
  // Library folders and files by category and file name (both checked safe).
  virtual bool EnsureFolder(const std::string& category) = 0;
  virtual bool IconExists(const std::string& category, const std::string& file) = 0;
  // Writes a new icon whole or not at all; never replaces an existing file.
  virtual bool WriteIcon(const std::string& category, const std::string& file, const std::string& bytes) = 0;
  // Status display: lblCount and the progress bar.
  virtual void SetCount(const std::string& text) = 0;
  virtual void SetProgressRange(int min, int max) = 0;
  virtual void SetProgress(int value) = 0;
};

struct DownloadResult {
  enum class Kind { Done, Failed, Cancelled } kind = Kind::Failed;
  std::string category;
  std::vector<std::string> entries;  // rotation entries "category\file" to hand over
};

// Runs the download of 'command' ("AddList", anything else is an icon) for 'url'.
DownloadResult RunDownload(std::string_view command, const std::string& url, DownloadSite& site);

}  // namespace iv::download
