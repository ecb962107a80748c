// libFuzzer target for the layout: the first two bytes choose the margin and width.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "msgbox/core/markup.h"
#include "msgbox/tests/fake_measurer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace iv::msgbox;
  AreaGeometry area;
  if (size >= 2) {
    area.leftMargin = data[0] & 1 ? kMarginWithIcon : kMarginWithoutIcon;
    area.width = data[1] * 40;
    data += 2;
    size -= 2;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  testing::FakeMeasurer m;
  const Layout l = LayoutMessage(text, area, m);
  if (l.height < kAreaHeight) __builtin_trap();
  (void)PlainText(text);
  return 0;
}
