#include "download/win/inet.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "base/win/handles.h"
#include "base/win/utf.h"

namespace iv::download {

namespace {
// Bodies above this are no icon, list or category file of ours.
constexpr size_t kMaxBody = 32u << 20;
}  // namespace

// Shared by the waiting thread and the worker; the worker may outlive a cancelled wait.
struct Inet::Transfer {
  std::mutex mutex;
  HINTERNET session = nullptr;  // closed by whoever comes first: Cancel or the worker
  std::atomic<bool> cancelled{false};
  // The waiter enforces the time-outs itself: WinINet does not honour them everywhere.
  std::atomic<DWORD> lastActivity{GetTickCount()};  // differences are wrap-safe
  std::atomic<bool> replied{false};
  UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  Fetched result;  // written by the worker before 'done' is set

  void CloseSession() {
    std::lock_guard lock(mutex);
    if (session) InternetCloseHandle(std::exchange(session, nullptr));
  }
};

namespace {

void SetTimeout(HINTERNET h, DWORD option, DWORD ms) { InternetSetOptionW(h, option, &ms, sizeof(ms)); }

Fetched Run(Inet::Transfer& t, const std::wstring& url, InetTimeouts timeouts);

}  // namespace

Inet::~Inet() { Cancel(); }

void Inet::Cancel() {
  if (!current_) return;
  current_->cancelled = true;
  // Closing the session handle aborts a blocking call on the worker thread.
  current_->CloseSession();
  SetEvent(current_->done.get());
}

Fetched Inet::OpenURL(const std::string& url, InetTimeouts timeouts) {
  Cancel();  // one transfer at a time
  auto t = std::make_shared<Transfer>();
  if (!t->done) return {};
  current_ = t;
  std::thread([t, wurl = Widen(url), timeouts] {
    Fetched r = Run(*t, wurl, timeouts);
    t->CloseSession();
    if (!t->cancelled) t->result = std::move(r);
    SetEvent(t->done.get());
  }).detach();

  const HANDLE done = t->done.get();
  bool timedOut = false;
  for (;;) {
    const ULONGLONG limit = t->replied ? timeouts.receiveMs : ULONGLONG{timeouts.connectMs} + timeouts.receiveMs;
    const ULONGLONG idle = GetTickCount() - t->lastActivity;
    if (idle >= limit) {
      timedOut = true;
      t->cancelled = true;
      t->CloseSession();
      break;
    }
    const DWORD w = MsgWaitForMultipleObjectsEx(1, &done, static_cast<DWORD>(limit - idle), QS_ALLINPUT,
                                                MWMO_INPUTAVAILABLE);
    if (w == WAIT_OBJECT_0 || w == WAIT_FAILED) break;
    if (w == WAIT_TIMEOUT) continue;
    MSG msg;
    bool quit = false;
    while (!quit && WaitForSingleObject(done, 0) == WAIT_TIMEOUT && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // The program is ending: stop the transfer and leave the quit to the outer loop.
        PostQuitMessage(static_cast<int>(msg.wParam));
        t->cancelled = true;
        t->CloseSession();
        quit = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (quit) break;
  }
  if (current_ == t) current_.reset();
  if (timedOut) return {};
  if (t->cancelled) return {Fetched::Status::Cancelled, {}};
  return std::move(t->result);
}

namespace {

Fetched Run(Inet::Transfer& t, const std::wstring& url, InetTimeouts timeouts) {
  HINTERNET session = InternetOpenW(L"Iconvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return {};
  {
    std::lock_guard lock(t.mutex);
    if (t.cancelled) {
      InternetCloseHandle(session);
      return {};
    }
    t.session = session;
  }
  SetTimeout(session, INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connectMs);
  SetTimeout(session, INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts.receiveMs);
  SetTimeout(session, INTERNET_OPTION_SEND_TIMEOUT, timeouts.receiveMs);

  // Child handles go with the session, which CloseSession closes in every case.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  HINTERNET request = InternetOpenUrlW(session, url.c_str(), nullptr, 0, flags, 0);
  if (!request) return {};
  t.replied = true;
  t.lastActivity = GetTickCount();
  // After a cancel the session is gone and took the request with it.
  struct CloseRequest {
    Inet::Transfer& t;
    HINTERNET request;
    ~CloseRequest() {
      std::lock_guard lock(t.mutex);
      if (t.session) InternetCloseHandle(request);
    }
  } closeRequest{t, request};
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

}  // namespace

}  // namespace iv::download
