#include "server.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "gif.h"
#include "site.h"

namespace iv::iconserver {
namespace {

struct Reply {
  int status = 200;
  std::string type;
  std::string body;
};

Reply Text(std::string body) { return {200, "text/plain", std::move(body)}; }
Reply Html(std::string body, int status = 200) { return {status, "text/html", std::move(body)}; }

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream data;
  data << file.rdbuf();
  return data.str();
}

// A 1x1 see-through picture: the site's "nothing" image.
std::string NothingGif() {
  gif::Image image;
  image.width = image.height = 1;
  image.palette = {{255, 255, 255}, {0, 0, 0}};
  image.frames = {{{0}, 0}};
  image.transparent = 0;
  const auto bytes = gif::Encode(image);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

int IntParam(const httplib::Request& req, const char* key, int fallback) {
  if (!req.has_param(key)) return fallback;
  try {
    return std::stoi(req.get_param_value(key));
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace

bool IsLoopbackHost(std::string_view host) {
  if (host == "localhost" || host == "::1") return true;
  if (!host.starts_with("127.")) return false;
  return host.find_first_not_of("0123456789.") == std::string_view::npos;
}

struct IconServer::Impl {
  ServerOptions options;
  httplib::Server http;
  std::thread thread;
  int port = 0;
  bool started = false;
  FailureTable failures;
  const std::string nothingGif = NothingGif();

  mutable std::mutex mutex;  // guards hits and stopping
  std::condition_variable wake;
  std::map<std::string, int> hits;
  bool stopping = false;

  std::string HostPort() const {
    const std::string host = options.host.find(':') != std::string::npos
                                 ? "[" + options.host + "]"
                                 : options.host;
    return host + ":" + std::to_string(port);
  }

  // Sleeps unless the server is stopping; false when it is.
  bool Pause(int ms) {
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopping; });
  }

  Reply Content(const httplib::Request& req) const {
    const std::filesystem::path& root = options.root;
    const std::string base = BaseUrl(req.get_header_value("Host"), HostPort());
    const std::string& path = req.path;
    if (path == "/" || path == "/index.php") return Html(HomePage(base, ListCategories(root)));
    if (path == "/help.php") return Html(HelpPage());
    if (path == "/iconvane.php") return Text(CategoryListText(ListCategories(root)));
    if (path == "/nothing.gif") return {200, "image/gif", nothingGif};
    if (path == "/icons.php" || path == "/list.php") {
      const auto category = FindCategory(root, req.get_param_value("dir"));
      if (!category) return Html(NotFoundPage(req.target), 404);
      const auto icons = ListIcons(root, *category);
      return path == "/list.php" ? Text(IconListText(base, *category, icons))
                                 : Html(CategoryPage(base, *category, icons));
    }
    if (path.starts_with("/icons/")) return Icon(path.substr(7), req.target);
    return Html(NotFoundPage(req.target), 404);
  }

  // "<Dotted.Category>/<file>.gif": only names the folder listing could produce,
  // so no request reaches a file outside the root.
  Reply Icon(const std::string& rest, const std::string& target) const {
    const auto slash = rest.find('/');
    if (slash != std::string::npos) {
      const auto category = FindCategory(options.root, rest.substr(0, slash));
      const std::string file = rest.substr(slash + 1);
      if (category && IsIconFileName(file)) {
        const auto path = options.root / *category / file;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec))
          if (auto bytes = ReadFile(path)) return {200, "image/gif", std::move(*bytes)};
      }
    }
    return Html(NotFoundPage(target), 404);
  }

  bool Control(const httplib::Request& req, httplib::Response& res) {
    if (req.path == "/_fail") {
      const std::string pattern = req.has_param("path") ? req.get_param_value("path") : "*";
      const std::string name = req.get_param_value("mode");
      if (name == "off") {
        failures.Clear(pattern);
      } else if (const auto mode = ParseFailMode(name)) {
        const Failure f = Bounded(*mode, IntParam(req, "delay", 200), IntParam(req, "chunks", 4));
        failures.Set(pattern, f, IntParam(req, "times", -1));
      } else {
        res.status = 400;
        res.set_content("unknown mode: " + name + "\n", "text/plain");
        return true;
      }
      res.set_content(failures.Describe(), "text/plain");
      return true;
    }
    if (req.path == "/_reset") {
      failures.ClearAll();
      std::lock_guard lock(mutex);
      hits.clear();
      res.set_content("reset\n", "text/plain");
      return true;
    }
    if (req.path == "/_hits") {
      std::lock_guard lock(mutex);
      std::string text;
      if (req.has_param("path")) {
        const auto it = hits.find(req.get_param_value("path"));
        text = std::to_string(it == hits.end() ? 0 : it->second) + "\n";
      } else {
        for (const auto& [path, count] : hits) text += std::to_string(count) + " " + path + "\n";
      }
      res.set_content(text, "text/plain");
      return true;
    }
    return false;
  }

  std::optional<Failure> FailureFor(const httplib::Request& req) {
    // A per-request switch, for a single reply without touching the table.
    if (req.has_param("_fail")) {
      if (const auto mode = ParseFailMode(req.get_param_value("_fail")))
        return Bounded(*mode, IntParam(req, "_delay", 200), IntParam(req, "_chunks", 4));
    }
    return failures.Take(req.path);
  }

  void Handle(const httplib::Request& req, httplib::Response& res) {
    if (Control(req, res)) return;
    {
      std::lock_guard lock(mutex);
      ++hits[req.path];
    }
    const auto failure = FailureFor(req);
    if (failure) {
      switch (failure->mode) {
        case FailMode::NotFound:
          return Send(res, Html(NotFoundPage(req.target), 404));
        case FailMode::ServerError:
          return Send(res, Html("<HTML><BODY>Internal Server Error</BODY></HTML>\n", 500));
        case FailMode::HtmlError:
          return Send(res, Html("<HTML><HEAD><TITLE>Error</TITLE></HEAD><BODY>A database "
                                "error occurred. Please try again later.</BODY></HTML>\n"));
        case FailMode::Empty:
          return Send(res, Reply{200, "text/plain", ""});
        case FailMode::Slow:
          return SendSlowly(res, Content(req), *failure);
        case FailMode::Truncate:
          return SendTruncated(res, Content(req));
      }
    }
    Send(res, Content(req));
  }

  static void Send(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    res.set_content(reply.body, reply.type);
  }

  void SendSlowly(httplib::Response& res, Reply reply, Failure f) {
    res.status = reply.status;
    if (reply.body.empty()) {
      Pause(f.delayMs);
      res.set_content("", reply.type);
      return;
    }
    auto body = std::make_shared<std::string>(std::move(reply.body));
    const std::size_t chunk = (body->size() + f.chunks - 1) / f.chunks;
    res.set_content_provider(
        body->size(), reply.type,
        [this, body, chunk, delay = f.delayMs](size_t offset, size_t length,
                                               httplib::DataSink& sink) {
          if (!Pause(delay)) return false;
          return sink.write(body->data() + offset, std::min(chunk, length));
        });
  }

  // Announces the whole body, sends half of it and drops the connection.
  static void SendTruncated(httplib::Response& res, Reply reply) {
    res.status = reply.status;
    auto body = std::make_shared<std::string>(std::move(reply.body));
    const std::size_t announced = body->empty() ? 16 : body->size();
    res.set_content_provider(announced, reply.type,
                             [body](size_t, size_t, httplib::DataSink& sink) {
                               if (body->size() >= 2) sink.write(body->data(), body->size() / 2);
                               return false;
                             });
  }
};

IconServer::IconServer(ServerOptions options) : impl_(std::make_unique<Impl>()) {
  impl_->options = std::move(options);
}

IconServer::~IconServer() { Stop(); }

bool IconServer::Start(int port, std::string& error) {
  Impl& s = *impl_;
  if (s.started) {
    error = "a server starts only once";
    return false;
  }
  s.started = true;
  if (!IsLoopbackHost(s.options.host)) {
    error = "refusing to listen on " + s.options.host + ": only loopback addresses are served";
    return false;
  }
  s.http.Get(".*", [&s](const httplib::Request& req, httplib::Response& res) {
    s.Handle(req, res);
  });
  // The library's default also sets SO_REUSEPORT, which would let a second server
  // share a port silently and split the requests between the two.
  s.http.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // Headers and body go out in separate writes; without this a kept-alive
  // connection waits for the client's delayed acknowledgement on every reply.
  s.http.set_tcp_nodelay(true);
  if (s.options.log) {
    s.http.set_logger([](const httplib::Request& req, const httplib::Response& res) {
      std::cerr << req.method << " " << req.target << " " << res.status << std::endl;
    });
  }
  if (port == 0) {
    s.port = s.http.bind_to_any_port(s.options.host);
  } else if (s.http.bind_to_port(s.options.host, port)) {
    s.port = port;
  } else {
    s.port = -1;
  }
  if (s.port <= 0) {
    error = "cannot listen on " + s.options.host + ":" + std::to_string(port);
    return false;
  }
  s.thread = std::thread([&s] { s.http.listen_after_bind(); });
  // The library's stop() does nothing until its loop has begun, so a Stop() right
  // after Start() would hang the join; the library offers no event to wait on.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!s.http.is_running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!s.http.is_running()) {
    // Only a loop that failed at once gets here, so its thread has ended.
    error = "the listening loop did not start";
    s.thread.join();
    return false;
  }
  return true;
}

void IconServer::Stop() {
  Impl& s = *impl_;
  if (!s.thread.joinable()) return;
  {
    std::lock_guard lock(s.mutex);
    s.stopping = true;
  }
  s.wake.notify_all();
  s.http.stop();
  s.thread.join();
}

int IconServer::Port() const { return impl_->port; }
std::string IconServer::Address() const { return "http://" + impl_->HostPort(); }
FailureTable& IconServer::Failures() { return impl_->failures; }

int IconServer::Hits(const std::string& path) const {
  std::lock_guard lock(impl_->mutex);
  const auto it = impl_->hits.find(path);
  return it == impl_->hits.end() ? 0 : it->second;
}

}  // namespace iv::iconserver
