#include "failures.h"

#include <algorithm>

namespace iv::iconserver {
namespace {

constexpr struct {
  FailMode mode;
  std::string_view name;
} kNames[] = {
    {FailMode::NotFound, "404"},  {FailMode::ServerError, "500"}, {FailMode::HtmlError, "html"},
    {FailMode::Empty, "empty"},   {FailMode::Slow, "slow"},       {FailMode::Truncate, "truncate"},
};

bool Matches(std::string_view pattern, std::string_view path) {
  if (!pattern.empty() && pattern.back() == '*')
    return path.substr(0, pattern.size() - 1) == pattern.substr(0, pattern.size() - 1);
  return pattern == path;
}

}  // namespace

std::optional<FailMode> ParseFailMode(std::string_view name) {
  for (const auto& entry : kNames)
    if (entry.name == name) return entry.mode;
  return std::nullopt;
}

std::string_view FailModeName(FailMode mode) {
  for (const auto& entry : kNames)
    if (entry.mode == mode) return entry.name;
  return "?";
}

Failure Bounded(FailMode mode, int delayMs, int chunks) {
  Failure f;
  f.mode = mode;
  f.chunks = std::clamp(chunks, 1, kMaxChunks);
  f.delayMs = std::clamp(delayMs, 0, std::min(kMaxDelayMs, kMaxSlowTotalMs / f.chunks));
  return f;
}

void FailureTable::Set(std::string pattern, Failure failure, int times) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.pattern == pattern; });
  if (times != 0) entries_.push_back({std::move(pattern), failure, times});
}

void FailureTable::Clear(std::string_view pattern) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.pattern == pattern; });
}

void FailureTable::ClearAll() {
  std::lock_guard lock(mutex_);
  entries_.clear();
}

std::optional<Failure> FailureTable::Take(std::string_view path) {
  std::lock_guard lock(mutex_);
  // The switch set last wins, so a narrow switch can override a broad one.
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (!Matches(it->pattern, path)) continue;
    const Failure failure = it->failure;
    if (it->times > 0 && --it->times == 0) entries_.erase(std::next(it).base());
    return failure;
  }
  return std::nullopt;
}

std::string FailureTable::Describe() const {
  std::lock_guard lock(mutex_);
  std::string text;
  for (const Entry& e : entries_) {
    text += e.pattern + " " + std::string(FailModeName(e.failure.mode));
    if (e.failure.mode == FailMode::Slow)
      text += " delay=" + std::to_string(e.failure.delayMs) +
              " chunks=" + std::to_string(e.failure.chunks);
    text += e.times < 0 ? " until cleared" : " times=" + std::to_string(e.times);
    text += "\n";
  }
  return text;
}

}  // namespace iv::iconserver
