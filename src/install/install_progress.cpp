#include "install/install_progress.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace install {
namespace {

long double Quotient(int64_t position, int64_t size) {
  if (position >= 0 && position <= std::numeric_limits<int64_t>::max() / 100)
    return static_cast<long double>(position * 100) / static_cast<long double>(size);
  return 100.0L * static_cast<long double>(position) / static_cast<long double>(size);
}

}  // namespace

int ProgressPercent(int64_t position, int64_t size) {
  if (size <= 0) return 0;
  const long double q = Quotient(position, size);
  long double whole = std::floor(q);
  const long double rest = q - whole;
  if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
  if (whole > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (whole < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(whole);
}

}  // namespace install
