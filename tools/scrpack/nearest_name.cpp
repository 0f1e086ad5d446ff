#include "scrpack/nearest_name.h"

#include <algorithm>

#include "text/ascii_case.h"

namespace scrpack {
namespace {

// Edits that turn one text into the other, a swap of two neighbours counting as one (the
// restricted Damerau-Levenshtein distance).
std::size_t Edits(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// One slip per five characters, at least one; so "x" is not taken for "o".
std::size_t Tolerance(const std::string& name) {
  return name.size() < 3 ? 0 : std::max<std::size_t>(1, name.size() / 5);
}

}  // namespace

std::optional<std::string> NearestName(const std::string& typed,
                                       const std::vector<std::string>& known) {
  const std::string lowered = text::LowerAsciiLetters(typed);
  std::optional<std::string> best;
  std::size_t bestEdits = 0;
  for (const std::string& name : known) {
    if (name == typed) continue;
    // Other capitals are the commonest slip; they cost nothing here.
    const std::size_t edits = Edits(lowered, text::LowerAsciiLetters(name));
    if (edits > Tolerance(name) && text::LowerAsciiLetters(name) != lowered) continue;
    if (!best || edits < bestEdits) best = name, bestEdits = edits;
  }
  return best;
}

std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known) {
  const auto nearest = NearestName(typed, known);
  return nearest ? "; did you mean '" + *nearest + "'?" : "";
}

std::string UnknownOption(const std::string& arg, const std::vector<std::string>& known) {
  if (arg.empty() || arg[0] != '-' || std::find(known.begin(), known.end(), arg) != known.end())
    return "";
  return "unknown option '" + arg + "'" + DidYouMean(arg, known);
}

}  // namespace scrpack
