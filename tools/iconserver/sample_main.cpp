// iconserver-sample --out DIR [--bulk N]: writes the sample site's icon folders.
#include <cstdlib>
#include <iostream>
#include <string>

#include "sample.h"

int main(int argc, char** argv) {
  std::string out;
  int bulk = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (arg == "--bulk" && i + 1 < argc) {
      char* end = nullptr;
      const long n = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || n < 1 || n > 999) {
        std::cerr << "iconserver-sample: --bulk takes 1 to 999\n";
        return 2;
      }
      bulk = static_cast<int>(n);
    } else {
      out.clear();
      break;
    }
  }
  if (out.empty()) {
    std::cerr << "usage: iconserver-sample --out DIR [--bulk N]\n"
                 "  without --bulk: the standard categories; with it: only the category \""
              << iv::iconserver::kBulkCategory << "\" of N icons\n";
    return 2;
  }
  std::string error;
  const bool ok = bulk > 0 ? iv::iconserver::WriteBulkCategory(out, bulk, error)
                           : iv::iconserver::WriteSample(out, error);
  if (!ok) {
    std::cerr << "iconserver-sample: " << error << "\n";
    return 1;
  }
  return 0;
}
