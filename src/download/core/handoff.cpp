#include "download/core/handoff.h"

#include <algorithm>

#include "base/core/text.h"
#include "download/core/names.h"

namespace iv::download {

using settings::Hive;

void WriteQueue(settings::Store& store, const std::string& dir, const std::vector<std::string>& entries,
                bool add) {
  // Values left over from an older, longer queue must not be read as ours.
  store.DeleteSection(kQueueSection);
  store.Set(kQueueSection, "DLDir", dir);
  if (!add) return;
  store.Set(kQueueSection, "Count", std::to_string(entries.size()));
  for (size_t k = 0; k < entries.size(); ++k) store.Set(kQueueSection, std::to_string(k + 1), entries[k]);
}

Queue ReadQueue(const settings::Store& store) {
  Queue queue;
  queue.dir = store.Get(kQueueSection, "DLDir", "");
  const long count = LeadingInt(store.Get(kQueueSection, "Count", ""));
  const auto present = store.backend().Values(Hive::CurrentUser,
                                              settings::KeyPath(settings::kRoot, settings::kApp, kQueueSection));
  const long n = std::min<long>(count, static_cast<long>(present.size()));
  for (long k = 1; k <= n; ++k) {
    std::string entry = Trim(store.Get(kQueueSection, std::to_string(k), ""));
    if (IsSafeEntry(entry)) queue.entries.push_back(std::move(entry));
  }
  return queue;
}

void ClearQueue(settings::Store& store) { store.DeleteSection(kQueueSection); }

std::string ProtocolCommand(std::string_view exePath) {
  return "\"" + std::string(exePath) + "\" \"%1\"";
}

void RegisterProtocol(settings::Store& store, std::string_view scheme, std::string_view exePath) {
  store.SetRegValue(scheme, "", "", "URL: Picvane Protocol", Hive::ClassesRoot, "");
  store.SetRegValue(scheme, "", "URL Protocol", "", Hive::ClassesRoot, "");
  store.SetRegValue(scheme, "shell\\open\\command", "", ProtocolCommand(exePath), Hive::ClassesRoot, "");
}

}  // namespace iv::download
