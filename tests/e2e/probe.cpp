// Started before a tree's end-to-end suites: when it prints its pointer size, this machine can
// run the tree's programs under Wine. Some machines cannot execute 32-bit code at all.
#include <cstdio>

int main() {
  std::printf("probe: %u-bit program ran\n", static_cast<unsigned>(sizeof(void*) * 8));
  return 0;
}
