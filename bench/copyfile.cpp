// The baseline for install throughput: one CopyFileA of the image, nothing else.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_copyfile FROM TO\n");
    return 2;
  }
  return CopyFileA(argv[1], argv[2], FALSE) ? 0 : 1;
}
