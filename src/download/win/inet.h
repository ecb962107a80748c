// Fetching URLs while the window stays alive: transfers run on a small fixed pool of
// worker threads and the caller's thread keeps dispatching messages while it waits.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "download/core/engine.h"

namespace iv::download {

struct InetTimeouts {
  unsigned connectMs = 15000;
  unsigned receiveMs = 30000;
};

class Inet {
 public:
  // Transfers that run at once; each worker keeps its session, so its connection to
  // the server is kept alive from one transfer to the next.
  static constexpr int kWorkers = 4;

  Inet() = default;
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;
  ~Inet();

  // Starts fetching 'url' in the background; a later OpenURL of it collects the reply.
  // With a 'spool' path the worker also writes a whole reply's body to that new file.
  void Prefetch(const std::string& url, std::wstring spool = {}, InetTimeouts timeouts = {});

  // The whole body of a 2xx reply. A non-2xx status, a transfer error or a time-out
  // is Failed; Cancel() while waiting gives Cancelled at once. A body written to its
  // spool file is handed over in 'spooled' (the caller then owns the file); without
  // 'spooled', or when the fetch did not succeed, the file is deleted.
  Fetched OpenURL(const std::string& url, InetTimeouts timeouts = {}, std::wstring* spooled = nullptr);

  // Aborts every transfer, running or waiting; safe to call from a message handler
  // that runs inside OpenURL's wait.
  void Cancel();

  struct Transfer;  // one URL, shared with the worker that fetches it
  struct Pool;      // the workers and their queue

 private:
  std::shared_ptr<Transfer> Start(const std::string& url, std::wstring spool, InetTimeouts timeouts);

  std::shared_ptr<Pool> pool_;
  std::shared_ptr<Transfer> waiting_;  // the transfer OpenURL waits for
  std::vector<std::pair<std::string, std::shared_ptr<Transfer>>> prefetched_;
};

}  // namespace iv::download
