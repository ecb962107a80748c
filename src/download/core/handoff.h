// The hand-off between a downloading copy and the running copy: a queue in the
// settings store and one of two window messages. Also the URL-scheme registration
// that makes browsers start us with command links.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "settings/core/store.h"

namespace iv::download {

inline constexpr unsigned kMsgAddToRotation = 2144;
inline constexpr unsigned kMsgNewCategory = 2145;
inline constexpr std::string_view kQueueSection = "Icons\\Temp";

struct Queue {
  std::string dir;                   // "DLDir"
  std::vector<std::string> entries;  // "1" .. "Count"
};

// Replaces the queue: "DLDir" always, "Count" and the entries only when 'add'.
void WriteQueue(settings::Store& store, const std::string& dir, const std::vector<std::string>& entries,
                bool add);

// The queue as the running copy reads it. Entries that are missing or would leave
// the Icon Library are dropped; "Count" is trusted only as far as values exist.
Queue ReadQueue(const settings::Store& store);

void ClearQueue(settings::Store& store);

// The command the shell runs for a link; both the program path and the link are
// quoted so that a folder with blanks works.
std::string ProtocolCommand(std::string_view exePath);

// Registers the program under HKEY_CLASSES_ROOT as the handler of 'scheme'.
void RegisterProtocol(settings::Store& store, std::string_view scheme, std::string_view exePath);

}  // namespace iv::download
