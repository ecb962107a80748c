#include "base/core/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace iv {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The number's own characters: digits with at most one point, no exponent.
  const size_t start = i;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] == '.' && !point) point = true;
    else if (!IsDigit(text[i])) break;
  }
  std::string_view digits = text.substr(start, i - start);
  if (!digits.empty() && digits.back() == '.') digits.remove_suffix(1);
  if (digits.empty()) return 0;
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) value = HUGE_VAL;
  return negative ? -value : value;
}

long LeadingInt(std::string_view text) {
  const double v = LeadingNumber(text);
  if (!(v > std::numeric_limits<int>::min())) return v < 0 ? std::numeric_limits<int>::min() : 0;
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<long>(v);
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> Split(std::string_view text, std::string_view sep) {
  std::vector<std::string> out;
  if (sep.empty()) {
    out.emplace_back(text);
    return out;
  }
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(sep, start);
    if (at == std::string_view::npos) {
      out.emplace_back(text.substr(start));
      return out;
    }
    out.emplace_back(text.substr(start, at - start));
    start = at + sep.size();
  }
}

long long RoundHalfEven(double value) { return static_cast<long long>(std::nearbyint(value)); }

}  // namespace iv
