#include "download/win/inet.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "base/win/handles.h"
#include "base/win/pump.h"
#include "base/win/utf.h"
#include "download/win/files.h"

namespace iv::download {

namespace {
// Bodies above this are no icon, list or category file of ours.
constexpr size_t kMaxBody = 32u << 20;
}  // namespace

// Shared by the waiting thread and the worker; the worker may outlive a cancelled wait.
struct Inet::Transfer {
  std::wstring url;
  std::wstring spool;   // where the worker writes the body, if anywhere
  std::mutex spoolMutex;
  bool spooled = false;  // the spool file holds the body and is not handed over yet
  InetTimeouts timeouts;
  std::weak_ptr<Pool> pool;
  std::atomic<bool> cancelled{false};
  std::atomic<bool> started{false};
  std::atomic<bool> replied{false};
  // The waiter enforces the time-outs itself: WinINet does not honour them everywhere.
  std::atomic<DWORD> lastActivity{0};
  UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HINTERNET* session = nullptr;  // the worker's session while it runs this; guarded by Pool::mutex
  Fetched result;                // written by the worker before 'done' is set

  // The worker's side: keeps a written spool file only while the transfer is wanted.
  void KeepSpool() {
    std::unique_lock lock(spoolMutex);
    if (!cancelled) {
      spooled = true;
      return;
    }
    lock.unlock();
    DeleteFileW(spool.c_str());
  }
  // The waiter's side: the spool file for the caller, or deleted when there is none.
  void TakeSpool(std::wstring* to) {
    std::lock_guard lock(spoolMutex);
    if (!spooled) return;
    spooled = false;
    if (to) *to = spool;
    else DeleteFileW(spool.c_str());
  }
  // Stops the transfer and deletes a spool file already written.
  void Drop() {
    cancelled = true;
    TakeSpool(nullptr);
  }
};

struct Inet::Pool {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::shared_ptr<Transfer>> queue;
  HINTERNET sessions[kWorkers] = {};  // one per worker, opened on its first transfer
  bool closed = false;
  int writing = 0;  // workers writing a spool file
  std::condition_variable written;

  // A spool file is begun only while the pool is open, so closing can wait for the
  // last one and nothing half written outlives the program.
  bool BeginWrite(const Transfer& t) {
    std::lock_guard lock(mutex);
    if (closed || t.cancelled) return false;
    ++writing;
    return true;
  }
  void EndWrite() {
    std::lock_guard lock(mutex);
    --writing;
    written.notify_all();
  }
  void WaitForWrites(DWORD ms) {
    std::unique_lock lock(mutex);
    written.wait_for(lock, std::chrono::milliseconds(ms), [&] { return writing == 0; });
  }

  // Closing the worker's session aborts its blocking call; the worker opens a new one.
  void Abort(Transfer& t) {
    std::lock_guard lock(mutex);
    t.cancelled = true;
    if (t.session && *t.session) InternetCloseHandle(std::exchange(*t.session, nullptr));
  }

  // Ends every worker; transfers still queued are never started.
  void Close() {
    std::lock_guard lock(mutex);
    closed = true;
    for (HINTERNET& s : sessions)
      if (s) InternetCloseHandle(std::exchange(s, nullptr));
    queue.clear();
    wake.notify_all();
  }
};

namespace {

using Transfer = Inet::Transfer;
using Pool = Inet::Pool;

void SetTimeout(HINTERNET h, DWORD option, DWORD ms) { InternetSetOptionW(h, option, &ms, sizeof(ms)); }

HINTERNET OpenSession(const InetTimeouts& timeouts) {
  HINTERNET session = InternetOpenW(L"Iconvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return nullptr;
  SetTimeout(session, INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connectMs);
  SetTimeout(session, INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts.receiveMs);
  SetTimeout(session, INTERNET_OPTION_SEND_TIMEOUT, timeouts.receiveMs);
  return session;
}

Fetched Run(Pool& pool, Transfer& t, HINTERNET session) {
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_KEEP_CONNECTION;
  HINTERNET request = InternetOpenUrlW(session, t.url.c_str(), nullptr, 0, flags, 0);
  if (!request) return {};
  t.replied = true;
  t.lastActivity = GetTickCount();
  // After an abort the session is gone and took the request with it. Closing a request
  // whose body was read whole hands its connection back for the next transfer.
  struct CloseRequest {
    Pool& pool;
    Transfer& t;
    HINTERNET request;
    ~CloseRequest() {
      std::lock_guard lock(pool.mutex);
      if (t.session && *t.session) InternetCloseHandle(request);
    }
  } closeRequest{pool, t, request};
  if (t.cancelled) return {};

  DWORD status = 0, size = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
      status < 200 || status > 299)
    return {};

  Fetched r;
  char buf[16384];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, buf, sizeof(buf), &got) || t.cancelled) return {};
    if (got == 0) break;
    t.lastActivity = GetTickCount();
    if (r.body.size() + got > kMaxBody) return {};
    r.body.append(buf, got);
  }
  // A body shorter than announced was cut off.
  wchar_t lenText[32];
  DWORD lenSize = sizeof(lenText);
  if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, lenText, &lenSize, nullptr) &&
      _wtoi64(lenText) != static_cast<long long>(r.body.size()))
    return {};
  r.status = Fetched::Status::Ok;
  return r;
}

// Takes the next transfer and makes sure the worker has a session for it; null once
// the pool is closed.
std::shared_ptr<Transfer> Next(Pool& pool, int index, HINTERNET& session) {
  std::unique_lock lock(pool.mutex);
  for (;;) {
    pool.wake.wait(lock, [&] { return pool.closed || !pool.queue.empty(); });
    if (pool.closed) return nullptr;
    std::shared_ptr<Transfer> t = std::move(pool.queue.front());
    pool.queue.pop_front();
    if (t->cancelled) continue;
    HINTERNET& own = pool.sessions[index];
    if (!own) own = OpenSession(t->timeouts);
    t->session = &own;
    session = own;
    return t;
  }
}

void Work(std::shared_ptr<Pool> pool, int index) {
  HINTERNET session = nullptr;
  while (std::shared_ptr<Transfer> t = Next(*pool, index, session)) {
    t->lastActivity = GetTickCount();
    t->started = true;
    Fetched r = session ? Run(*pool, *t, session) : Fetched{};
    if (r.status == Fetched::Status::Ok && !t->spool.empty() && pool->BeginWrite(*t)) {
      if (WriteNewFile(t->spool, r.body)) t->KeepSpool();
      pool->EndWrite();
    }
    {
      std::lock_guard lock(pool->mutex);
      t->session = nullptr;
      if (!t->cancelled) t->result = std::move(r);
    }
    SetEvent(t->done.get());
  }
}

enum class WaitEnd { Done, TimedOut, Quit };

WaitEnd WaitFor(Transfer& t) {
  const HANDLE done = t.done.get();
  const auto finished = [done] { return WaitForSingleObject(done, 0) != WAIT_TIMEOUT; };
  for (;;) {
    DWORD wait = 250;  // a transfer still queued behind others has no time-out of its own yet
    if (t.started) {
      const DWORD limit = t.replied ? t.timeouts.receiveMs : t.timeouts.connectMs + t.timeouts.receiveMs;
      const DWORD idle = GetTickCount() - t.lastActivity;
      if (idle >= limit) return WaitEnd::TimedOut;
      wait = limit - idle;
    }
    // The limit counts from the last activity, so a quiet spell is measured afresh.
    const Pumped p = PumpUntil(finished, wait, done);
    if (p.end == PumpEnd::Done) return WaitEnd::Done;
    if (p.end == PumpEnd::Quit) return WaitEnd::Quit;
  }
}

}  // namespace

Inet::~Inet() {
  const std::shared_ptr<Pool> pool = pool_;
  Cancel();
  // A worker may be writing a body it fetched ahead; it deletes the file once done.
  if (pool) pool->WaitForWrites(5000);
}

void Inet::Cancel() {
  if (pool_) std::exchange(pool_, nullptr)->Close();
  for (auto& [url, t] : prefetched_) {
    t->Drop();
    SetEvent(t->done.get());
  }
  prefetched_.clear();
  if (waiting_) {
    waiting_->Drop();
    SetEvent(waiting_->done.get());
  }
}

std::shared_ptr<Inet::Transfer> Inet::Start(const std::string& url, std::wstring spool, InetTimeouts timeouts) {
  if (!pool_) {
    pool_ = std::make_shared<Pool>();
    for (int i = 0; i < kWorkers; ++i) std::thread(Work, pool_, i).detach();
  }
  auto t = std::make_shared<Transfer>();
  if (!t->done) return nullptr;
  t->url = Widen(url);
  t->spool = std::move(spool);
  t->timeouts = timeouts;
  t->pool = pool_;
  {
    std::lock_guard lock(pool_->mutex);
    pool_->queue.push_back(t);
  }
  pool_->wake.notify_one();
  return t;
}

void Inet::Prefetch(const std::string& url, std::wstring spool, InetTimeouts timeouts) {
  for (const auto& entry : prefetched_)
    if (entry.first == url) return;
  if (auto t = Start(url, std::move(spool), timeouts)) prefetched_.emplace_back(url, std::move(t));
}

Fetched Inet::OpenURL(const std::string& url, InetTimeouts timeouts, std::wstring* spooled) {
  std::shared_ptr<Transfer> t;
  for (auto it = prefetched_.begin(); it != prefetched_.end(); ++it) {
    if (it->first != url) continue;
    t = std::move(it->second);
    prefetched_.erase(it);
    break;
  }
  if (!t) t = Start(url, {}, timeouts);
  if (!t) return {};
  waiting_ = t;
  // Pending messages first: with replies already in, the window still paints and closes.
  const WaitEnd end = PumpPending() ? WaitFor(*t) : WaitEnd::Quit;
  if (waiting_ == t) waiting_.reset();
  if (end == WaitEnd::Quit) Cancel();
  if (end == WaitEnd::TimedOut)
    if (auto pool = t->pool.lock()) pool->Abort(*t);
  const bool cancelled = end == WaitEnd::Quit || (end == WaitEnd::Done && t->cancelled);
  if (end != WaitEnd::Done || cancelled || t->result.status != Fetched::Status::Ok) t->Drop();
  else t->TakeSpool(spooled);
  if (cancelled) return {Fetched::Status::Cancelled, {}};
  if (end == WaitEnd::TimedOut) return {};
  return std::move(t->result);
}

}  // namespace iv::download
