// Failures a test can switch on for chosen paths, to see how the program copes
// with a broken icon site.
#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::iconserver {

enum class FailMode {
  NotFound,     // status 404
  ServerError,  // status 500
  HtmlError,    // status 200 with an HTML error page instead of the content
  Empty,        // status 200 with an empty body
  Slow,         // the real body in chunks, with a pause before each
  Truncate,     // Content-Length of the whole body, half of it sent, then closed
};

struct Failure {
  FailMode mode = FailMode::NotFound;
  int delayMs = 200;  // Slow: pause before each chunk
  int chunks = 4;     // Slow: number of pieces the body is sent in
};

// Bounds keep a forgotten switch from stalling a test run for long.
inline constexpr int kMaxDelayMs = 10000;
inline constexpr int kMaxChunks = 64;
inline constexpr int kMaxSlowTotalMs = 30000;

// Mode names as written in switches: 404, 500, html, empty, slow, truncate.
std::optional<FailMode> ParseFailMode(std::string_view name);
std::string_view FailModeName(FailMode mode);

// A failure with its pauses held within the bounds above.
Failure Bounded(FailMode mode, int delayMs, int chunks);

// Failures by path pattern: "*" is every path, "/x*" every path starting with
// "/x", anything else one exact path. Safe to use from several server threads.
class FailureTable {
 public:
  // times < 0: until cleared; otherwise for the next `times` matching requests.
  void Set(std::string pattern, Failure failure, int times);
  void Clear(std::string_view pattern);
  void ClearAll();
  // The failure for this request, if any; uses up one of a limited switch's turns.
  std::optional<Failure> Take(std::string_view path);
  // One line per switch, for the control endpoint.
  std::string Describe() const;

 private:
  struct Entry {
    std::string pattern;
    Failure failure;
    int times;
  };
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace iv::iconserver
