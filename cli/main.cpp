// lumora-cli: the engine from a terminal (feed checks, curves, fits, rankings, filters, backtests).
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumora-cli COMMAND [options]\n");
    return 2;
  }
  std::fprintf(stderr, "lumora-cli: unknown command: %s\n", argv[1]);
  return 2;
}
