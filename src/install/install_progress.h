#pragma once
#include <cstdint>

namespace install {

// 100 * position / size rounded to the nearest integer, exact halves to the even neighbour
// (12.5 -> 12, 13.5 -> 14). The product is taken in 64-bit integers so that it is exact for
// every file the program can meet. 0 when the size is not positive.
int ProgressPercent(int64_t position, int64_t size);

}  // namespace install
