// Fetching a URL while the window stays alive: the transfer runs on a worker thread
// and the caller's thread keeps dispatching messages until it ends or is cancelled.
#pragma once
#include <memory>
#include <string>

#include "download/core/engine.h"

namespace iv::download {

struct InetTimeouts {
  unsigned connectMs = 15000;
  unsigned receiveMs = 30000;
};

class Inet {
 public:
  Inet() = default;
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;
  ~Inet();

  // The whole body of a 2xx reply. A non-2xx status, a transfer error or a time-out
  // is Failed; Cancel() while waiting gives Cancelled at once.
  Fetched OpenURL(const std::string& url, InetTimeouts timeouts = {});

  // Aborts the current transfer, if any; safe to call from a message handler that
  // runs inside OpenURL's wait.
  void Cancel();

  struct Transfer;  // state shared with the worker thread

 private:
  std::shared_ptr<Transfer> current_;
};

}  // namespace iv::download
