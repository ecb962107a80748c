#include "rotation/core/rotation_list.h"

#include <unordered_map>
#include <utility>

#include "base/core/text.h"

namespace iv::rotation {

namespace {

std::string IconsKeyPath() { return settings::KeyPath(settings::kRoot, settings::kApp, kIconsSection); }

std::optional<settings::KeyStamp> SectionStamp(settings::Store& store) {
  return store.backend().Stamp(settings::Hive::CurrentUser, IconsKeyPath());
}

// "1".."32767" as written by Save; anything else (leading zeros, signs) is no row.
size_t RowNumberOfName(const std::string& name) {
  if (name.empty() || name.size() > 5 || name[0] == '0') return 0;
  size_t n = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<size_t>(c - '0');
  }
  return n;
}

}  // namespace

std::string IconPath(std::string_view programFolder, std::string_view entry) {
  return std::string(programFolder) + "\\Icon Library\\" + Trim(entry);
}

size_t CountFromText(std::string_view text) {
  const double v = LeadingNumber(text);
  if (!(v > 0)) return 0;
  // Compared before rounding: a huge stored number must not overflow or allocate.
  if (v >= static_cast<double>(kMaxEntries)) return kMaxEntries;
  return static_cast<size_t>(RoundHalfEven(v));
}

bool RotationEntries::Add(std::string_view category, std::string_view fileRow) {
  if (entries_.size() >= kMaxEntries) return false;
  entries_.push_back(std::string(category) + "\\" + Trim(fileRow));
  return true;
}

size_t RotationEntries::Append(const std::vector<std::string>& more) {
  size_t added = 0;
  for (const auto& e : more) {
    if (entries_.size() >= kMaxEntries) break;
    entries_.push_back(e);
    ++added;
  }
  return added;
}

int RotationEntries::Remove(int row) {
  if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return row;
  entries_.erase(entries_.begin() + row);
  // The entry that moved into the removed one's place, or the new last row.
  return static_cast<size_t>(row) < entries_.size() ? row : row - 1;
}

int RotationEntries::MoveUp(int row) {
  if (row <= 0 || static_cast<size_t>(row) >= entries_.size()) return row;
  std::swap(entries_[row - 1], entries_[row]);
  return row - 1;
}

int RotationEntries::MoveDown(int row) {
  if (row < 0 || static_cast<size_t>(row) + 1 >= entries_.size()) return row;
  std::swap(entries_[row], entries_[row + 1]);
  return row + 1;
}

void RotationEntries::Load(settings::Store& store) {
  const std::string countText = store.Get(kIconsSection, "Count", "0");
  const size_t count = CountFromText(countText);
  // One pass over the section instead of one lookup per row.
  std::unordered_map<size_t, std::string> rows;
  size_t others = 0;
  for (auto& [name, text] : store.backend().Values(settings::Hive::CurrentUser, IconsKeyPath())) {
    const size_t n = RowNumberOfName(name);
    if (n >= 1 && n <= count) rows.emplace(n, std::move(text));
    else ++others;
  }
  entries_.assign(count, std::string());
  for (size_t i = 0; i < count; ++i) {
    const auto it = rows.find(i + 1);
    if (it != rows.end()) entries_[i] = std::move(it->second);
  }
  const bool exact = rows.size() == count && others == 1 && countText == std::to_string(count);
  Remember(exact ? SectionStamp(store) : std::nullopt);
}

void RotationEntries::Remember(std::optional<settings::KeyStamp> stampIfExact) {
  stored_ = entries_;
  storedStamp_ = stampIfExact;
}

bool RotationEntries::StoredAsLastWritten(settings::Store& store) const {
  // Another copy, a hand-off or regedit may have changed the section since. Unless
  // nothing was written to it, one pass over it must find exactly "Count" and
  // "1".."Count" holding what we last wrote.
  if (storedStamp_ && SectionStamp(store) == storedStamp_) return true;
  const auto values = store.backend().Values(settings::Hive::CurrentUser, IconsKeyPath());
  if (values.size() != stored_.size() + 1) return false;
  std::vector<bool> seen(stored_.size() + 1, false);
  for (const auto& [name, text] : values) {
    const size_t n = RowNumberOfName(name);
    if (n == 0) {
      if (!EqualsNoCase(name, "Count") || text != std::to_string(stored_.size())) return false;
    } else if (n > stored_.size() || text != stored_[n - 1]) {
      return false;
    }
    if (seen[n]) return false;
    seen[n] = true;
  }
  return true;
}

bool RotationEntries::CanWriteChangesOnly(settings::Store& store) const {
  // A shorter list leaves values to remove, which only deleting the section does.
  return entries_.size() >= stored_.size() && StoredAsLastWritten(store);
}

void RotationEntries::Rewrite(settings::Store& store) {
  // The delete is refused while the download queue "Icons\Temp" exists; the old
  // values then stay and the next save finds them and rewrites everything again.
  store.DeleteSection(kIconsSection);
  store.Set(kIconsSection, "Count", std::to_string(entries_.size()));
  for (size_t i = 0; i < entries_.size(); ++i) store.Set(kIconsSection, std::to_string(i + 1), entries_[i]);
  // Exact unless values left by a refused delete remain beside the new ones.
  const auto stamp = SectionStamp(store);
  Remember(stamp && stamp->values == entries_.size() + 1 ? stamp : std::nullopt);
}

void RotationEntries::Save(settings::Store& store) {
  if (!CanWriteChangesOnly(store)) {
    Rewrite(store);
    return;
  }
  for (size_t i = 0; i < entries_.size(); ++i)
    if (i >= stored_.size() || entries_[i] != stored_[i]) store.Set(kIconsSection, std::to_string(i + 1), entries_[i]);
  if (entries_.size() != stored_.size()) store.Set(kIconsSection, "Count", std::to_string(entries_.size()));
  Remember(SectionStamp(store));
}

}  // namespace iv::rotation
