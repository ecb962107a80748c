#include "library/core/import_plan.h"

#include <algorithm>

#include "library/core/safety.h"

namespace iv::library {

Placement PlaceInIcon(int w, int h, int side) {
  Placement p;
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (w <= side && h <= side) {
    p.width = w;
    p.height = h;
  } else if (w >= h) {
    p.width = side;
    p.height = std::max(1, static_cast<int>((static_cast<long long>(h) * side + w / 2) / w));
  } else {
    p.height = side;
    p.width = std::max(1, static_cast<int>((static_cast<long long>(w) * side + h / 2) / h));
  }
  p.canvas = std::max(p.width, p.height);
  p.x = (p.canvas - p.width) / 2;
  p.y = (p.canvas - p.height) / 2;
  return p;
}

BoxScaler::BoxScaler(int srcW, int srcH, int dstW, int dstH)
    : srcW_(srcW), srcH_(srcH), dstW_(dstW), dstH_(dstH), column_(static_cast<size_t>(srcW)),
      sums_(static_cast<size_t>(dstW) * dstH * 4), counts_(static_cast<size_t>(dstW) * dstH) {
  for (int x = 0; x < srcW; ++x) column_[x] = static_cast<int>(static_cast<long long>(x) * dstW / srcW);
}

void BoxScaler::AddRows(const std::uint8_t* rows, int first, int count, std::size_t stride) {
  for (int r = 0; r < count; ++r) {
    const int y = first + r;
    if (y < 0 || y >= srcH_) continue;
    const size_t dy = static_cast<size_t>(static_cast<long long>(y) * dstH_ / srcH_);
    const std::uint8_t* px = rows + r * stride;
    std::uint64_t* sumRow = &sums_[dy * dstW_ * 4];
    std::uint32_t* countRow = &counts_[dy * dstW_];
    for (int x = 0; x < srcW_; ++x, px += 4) {
      const int dx = column_[x];
      std::uint64_t* s = sumRow + dx * 4;
      s[0] += px[0];
      s[1] += px[1];
      s[2] += px[2];
      s[3] += px[3];
      ++countRow[dx];
    }
  }
}

std::vector<std::uint8_t> BoxScaler::Result() const {
  std::vector<std::uint8_t> out(counts_.size() * 4);
  for (size_t i = 0; i < counts_.size(); ++i) {
    const std::uint64_t n = counts_[i];
    if (n == 0) continue;
    for (int c = 0; c < 4; ++c) out[i * 4 + c] = static_cast<std::uint8_t>((sums_[i * 4 + c] + n / 2) / n);
  }
  return out;
}

ReductionPlan::ReductionPlan(int frameCount) : frames_(std::max(frameCount, 1)) {
  current_.dither = frames_ == 1;  // dither noise costs an animation too many bytes
}

bool ReductionPlan::Next(std::size_t bytes, std::size_t limit) {
  Attempt& a = current_;
  const bool animated = a.frameStep < frames_;
  const int floor = animated ? 16 : 2;
  if (a.colours > floor) {
    // Far too large: halving the colours a step at a time would not get there.
    a.colours = animated && bytes > 2 * limit ? floor : std::max(floor, a.colours / 2);
    return true;
  }
  if (animated) {
    const auto scaled = (static_cast<unsigned long long>(a.frameStep) * bytes + limit - 1) / limit;
    a.frameStep = static_cast<int>(std::min<unsigned long long>(std::max<unsigned long long>(a.frameStep + 1, scaled),
                                                                 frames_));
    return true;
  }
  return false;
}

std::vector<int> KeptFrames(int frameCount, int step) {
  std::vector<int> kept;
  step = std::max(step, 1);
  for (int i = 0; i < frameCount; i += step) kept.push_back(i);
  return kept;
}

int DecodeStep(int frameCount) { return std::max(1, (frameCount + kMaxKeptFrames - 1) / kMaxKeptFrames); }

std::vector<int> KeptDelays(const std::vector<int>& delaysCs, int step) {
  std::vector<int> out;
  step = std::max(step, 1);
  const int n = static_cast<int>(delaysCs.size());
  for (int i = 0; i < n; i += step) {
    long long sum = 0;
    for (int j = i; j < std::min(n, i + step); ++j) sum += delaysCs[j];
    out.push_back(static_cast<int>(std::min<long long>(sum, 65535)));
  }
  return out;
}

namespace {

std::string StemOf(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  const size_t dot = path.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
  return std::string(path);
}

// Cuts UTF-8 text to at most n bytes without splitting a character.
void CutUtf8(std::string& s, size_t n) {
  if (s.size() <= n) return;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.resize(n);
}

}  // namespace

std::string IconNameFor(std::string_view sourcePath, const std::function<bool(const std::string&)>& taken) {
  std::string stem = StemOf(sourcePath);
  for (char& ch : stem) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) ch = '_';
  }
  CutUtf8(stem, 64);
  const auto end = [](char c) { return c == ' ' || c == '.'; };
  while (!stem.empty() && end(stem.back())) stem.pop_back();
  while (!stem.empty() && end(stem.front())) stem.erase(stem.begin());
  if (stem.empty()) stem = "picture";
  if (!IsSafeName(stem + ".gif")) stem = "_" + stem;  // a device name such as CON
  std::string name = stem + ".gif";
  for (int n = 2; taken && taken(name); ++n) name = stem + " (" + std::to_string(n) + ").gif";
  return name;
}

}  // namespace iv::library
