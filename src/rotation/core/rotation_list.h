// The rotation: the user's ordered list of icons, each "Category\file.gif" relative
// to the Icon Library, and its stored form in the settings section "Icons"
// ("Count", then "1".."Count" in list order).
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/core/store.h"

namespace iv::rotation {

inline constexpr std::string_view kIconsSection = "Icons";
// The list box numbers its rows with 16-bit signed positions.
inline constexpr size_t kMaxEntries = 32767;

// Full path of an entry's icon: program folder + "\Icon Library\" + the trimmed entry.
std::string IconPath(std::string_view programFolder, std::string_view entry);

class RotationEntries {
 public:
  const std::vector<std::string>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const std::string& at(size_t row) const { return entries_.at(row); }

  // Appends category + "\" + the file row without its surrounding blanks. The same
  // icon may be added any number of times. False (nothing added) when the list is full.
  bool Add(std::string_view category, std::string_view fileRow);
  // Appends entries as they are (the download hand-off); those beyond the limit are dropped.
  // Returns how many were appended.
  size_t Append(const std::vector<std::string>& more);

  // Each edit returns the row to select afterwards, -1 for none. A row out of range
  // (-1 = none selected) changes nothing and is returned as it was.
  int Remove(int row);
  int MoveUp(int row);
  int MoveDown(int row);
  void Clear() { entries_.clear(); }

  // Reads the stored list; at most kMaxEntries rows whatever "Count" claims, and a
  // missing value gives an empty row.
  void Load(settings::Store& store);
  // Makes the stored list equal the list.
  void Save(settings::Store& store);

 private:
  bool StoredAsLastWritten(settings::Store& store) const;
  bool CanWriteChangesOnly(settings::Store& store) const;
  void Rewrite(settings::Store& store);
  void Remember(std::optional<settings::KeyStamp> stampIfExact);

  std::vector<std::string> entries_;
  // What we last read or wrote; writing only the changed values is enough while
  // "Icons" holds exactly this.
  std::vector<std::string> stored_;
  // The section's stamp when it last held exactly stored_: while it is unchanged
  // nothing needs reading back.
  std::optional<settings::KeyStamp> storedStamp_;
};

// The stored "Count" as a number of rows: rounded, 0 for text that is no number or
// negative, and never above kMaxEntries.
size_t CountFromText(std::string_view text);

}  // namespace iv::rotation
