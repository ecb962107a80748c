#include "ui/core/position.h"

#include "base/core/text.h"

namespace iv::ui {

std::string CentredEdge(long screen, long window) {
  // Halves of twip lengths are whole in practice; text keeps any fraction as stored.
  const double centred = screen / 2.0 - window / 2.0;
  if (centred == static_cast<long>(centred)) return std::to_string(static_cast<long>(centred));
  std::string text = std::to_string(centred);
  while (!text.empty() && text.back() == '0') text.pop_back();
  return text;
}

long ClampedEdge(const std::string& stored, long screen, long window) {
  const double v = LeadingNumber(stored);
  if (v > screen - window) return screen - window;
  if (v < 0) return 0;
  return static_cast<long>(v);
}

}  // namespace iv::ui
