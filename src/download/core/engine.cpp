#include "download/core/engine.h"

#include "download/core/link.h"
#include "download/core/names.h"

namespace iv::download {

namespace {

using Kind = DownloadResult::Kind;

DownloadResult Ended(Kind kind) {
  DownloadResult r;
  r.kind = kind;
  return r;
}

enum class IconOutcome { Written, Existed, Failed, Cancelled };

// Fetches one icon unless it exists. Only a GIF body is written, so an error page
// never lands in the library as an icon.
IconOutcome FetchIcon(const std::string& url, const std::string& category, const std::string& file,
                      DownloadSite& site) {
  if (site.IconExists(category, file)) {
    site.SetCount(std::string(kTextSkipped));
    return IconOutcome::Existed;
  }
  const Fetched got = site.Fetch(url);
  if (site.Cancelled() || got.status == Fetched::Status::Cancelled) return IconOutcome::Cancelled;
  if (got.status != Fetched::Status::Ok || !IsGif(got.body)) {
    site.SetCount(std::string(kTextNotIcon));
    return IconOutcome::Failed;
  }
  return site.WriteIcon(category, file, got.body) ? IconOutcome::Written : IconOutcome::Failed;
}

DownloadResult AddIcon(const std::string& url, DownloadSite& site) {
  site.SetCount("Your selected Icon...");
  site.SetProgressRange(0, 1);
  DownloadResult r;
  r.category = CategoryFromURL(url);
  const std::string file = FileNameFromURL(url);
  if (!IsWebUrl(url) || !IsSafeName(r.category)) return Ended(Kind::Failed);
  if (!IsIconName(file)) {
    site.SetCount(std::string(kTextNotIcon));
    return Ended(Kind::Failed);
  }
  if (!site.EnsureFolder(r.category)) return Ended(Kind::Failed);
  switch (FetchIcon(url, r.category, file, site)) {
    case IconOutcome::Cancelled: return Ended(Kind::Cancelled);
    case IconOutcome::Failed: return Ended(Kind::Failed);
    case IconOutcome::Written:
    case IconOutcome::Existed: break;
  }
  if (site.Cancelled()) return Ended(Kind::Cancelled);
  site.SetProgress(1);
  r.kind = Kind::Done;
  r.entries.push_back(r.category + "\\" + file);
  return r;
}

DownloadResult AddList(const std::string& url, DownloadSite& site) {
  if (!IsWebUrl(url)) return Ended(Kind::Failed);
  const Fetched got = site.Fetch(url);
  if (site.Cancelled() || got.status == Fetched::Status::Cancelled) return Ended(Kind::Cancelled);
  if (got.status != Fetched::Status::Ok || IsServerFailure(got.body)) return Ended(Kind::Failed);

  const std::vector<std::string> lines = RefreshURLArray(got.body);
  const int n = static_cast<int>(lines.size()) - 1;
  if (n < 1) return Ended(Kind::Failed);  // not even a category line
  DownloadResult r;
  r.category = ListCategory(lines[1]);
  if (!IsSafeName(r.category) || !site.EnsureFolder(r.category)) return Ended(Kind::Failed);

  // Icons to come are asked for ahead of their turn so that transfers overlap; they
  // are still taken, written and counted in the list's order.
  const auto wanted = [&](int i, const std::string& file) {
    return IsWebUrl(lines[i]) && IsIconName(file) && !site.IconExists(r.category, file);
  };
  int ahead = 2;
  const std::string total = std::to_string(n - 1);
  site.SetCount("Icon 1 of " + total);
  site.SetProgressRange(1, n);
  for (int i = 2; i <= n; ++i) {
    for (; ahead <= n && ahead < i + kFetchAhead; ++ahead)
      if (const std::string file = FileNameFromURL(lines[ahead]); wanted(ahead, file))
        site.Prefetch(lines[ahead], r.category, file);
    site.SetCount("Icon " + std::to_string(i - 1) + " of " + total);
    site.SetProgress(i);
    const std::string& iconUrl = lines[i];
    const std::string file = FileNameFromURL(iconUrl);
    if (!IsWebUrl(iconUrl) || !IsIconName(file)) {
      site.SetCount(std::string(kTextNotIcon));
      continue;
    }
    const IconOutcome outcome = FetchIcon(iconUrl, r.category, file, site);
    if (outcome == IconOutcome::Cancelled || site.Cancelled()) return Ended(Kind::Cancelled);
    // Icons that are not in the library are not handed over to the rotation.
    if (outcome != IconOutcome::Failed) r.entries.push_back(r.category + "\\" + file);
  }
  // Nothing written and nothing there already: there is nothing to report or to add.
  if (r.entries.empty()) return Ended(Kind::Failed);
  r.kind = Kind::Done;
  return r;
}

}  // namespace

DownloadResult RunDownload(std::string_view command, const std::string& url, DownloadSite& site) {
  return command == kAddList ? AddList(url, site) : AddIcon(url, site);
}

}  // namespace iv::download
