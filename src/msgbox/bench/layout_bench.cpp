// Time to lay out a 2,000-character marked-up message (target: under 5 ms).
#include <chrono>
#include <cstdio>
#include <string>

#include "msgbox/core/markup.h"
#include "msgbox/tests/fake_measurer.h"

int main() {
  using namespace iv::msgbox;
  std::string text;
  const char* words[] = {"~b~c#3E9CEAConfirm~b ", "~c#000000folder ", "deletion ", "~iof~i ", "icons~n",
                         "Are ", "you ", "~usure~u ", "that ", "you ", "want ", "this? "};
  for (size_t i = 0; text.size() < 2000; ++i) text += words[i % std::size(words)];
  text.resize(2000);

  const int rounds = 2000;
  int height = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    testing::FakeMeasurer m;
    height += LayoutMessage(text, AreaGeometry{}, m).height;
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("msgbox layout: %zu characters, %.4f ms per layout (target < 5 ms), final height %d twips\n",
              text.size(), ms / rounds, height / rounds);
  return 0;
}
