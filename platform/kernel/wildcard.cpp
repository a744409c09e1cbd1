// Windows wildcard matching of file names (see internal/wildcard.h).
//
// Windows turns a FindFirstFile pattern into its DOS forms before matching:
// '?' becomes DOS_QM (one character, or none at a '.' or the end of the
// name), '.' before '?' / '*' or at the end becomes DOS_DOT (a dot or the
// end of the name) and '*' before '.' becomes DOS_STAR (any characters up to,
// not past, the name's final dot). The matcher below applies those forms.
#include <internal/hostpath.h>
#include <internal/wildcard.h>

#include <cstdint>
#include <vector>

namespace win32 {
namespace {

class Matcher {
 public:
  Matcher(std::string_view pattern, std::string_view name)
      : p_(pattern), s_(name), lastDot_(name.rfind('.')),
        memo_((pattern.size() + 1) * (name.size() + 1), kUnknown) {}

  bool run() { return match(0, 0); }

 private:
  static constexpr int8_t kUnknown = -1;

  bool onlyWildcardsFrom(size_t i) const {
    for (; i < p_.size(); ++i) {
      if (p_[i] != '*' && p_[i] != '?') return false;
    }
    return true;
  }

  // DOS_STAR may not take the name's final dot or anything after it.
  bool starMayTake(size_t i, size_t j) const {
    const bool dosStar = i + 1 < p_.size() && p_[i + 1] == '.';
    return !dosStar || lastDot_ == std::string_view::npos || j < lastDot_;
  }

  bool match(size_t i, size_t j) {
    int8_t& known = memo_[i * (s_.size() + 1) + j];
    if (known == kUnknown) known = compute(i, j) ? 1 : 0;
    return known == 1;
  }

  bool compute(size_t i, size_t j) {
    const size_t m = p_.size(), n = s_.size();
    if (i == m) return j == n;
    switch (p_[i]) {
      case '*':
        return match(i + 1, j) || (j < n && starMayTake(i, j) && match(i, j + 1));
      case '?':
        if (j == n || s_[j] == '.') {
          size_t k = i;
          while (k < m && p_[k] == '?') ++k;  // the whole run matches nothing here
          return match(k, j);
        }
        return match(i + 1, j + 1);
      case '.':
        if (j < n && s_[j] == '.' && match(i + 1, j + 1)) return true;
        return j == n && onlyWildcardsFrom(i + 1);
      default:
        return j < n && foldCase(static_cast<unsigned char>(p_[i])) == foldCase(static_cast<unsigned char>(s_[j])) &&
               match(i + 1, j + 1);
    }
  }

  std::string_view p_;
  std::string_view s_;
  size_t lastDot_;
  std::vector<int8_t> memo_;
};

}  // namespace

bool matchesWildcard(std::string_view pattern, std::string_view name) { return Matcher(pattern, name).run(); }

bool hasWildcards(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

}  // namespace win32
