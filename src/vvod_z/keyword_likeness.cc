#include "vvod_z/keyword_likeness.h"

#include <algorithm>
#include <cstring>

#include "program1/register_table.h"
#include "vvod_z/command_interpreter.h"

namespace {

/// Keywords longer than this may be misspelt by two edits, shorter ones by one.
constexpr int kShortKeyword = 3;
/// Longer words are no misspelt keyword.
constexpr int kLongestWord = 15;

int Upper(int c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

/// The edits that turn the word, in capitals, into `keyword`.
int Edits(const int* word, int m, const char* keyword) {
  const int n = static_cast<int>(std::strlen(keyword));
  int d[kLongestWord + 1][kLongestWord + 1];
  for (int i = 0; i <= m; ++i) {
    for (int j = 0; j <= n; ++j) {
      if (i == 0 || j == 0) {
        d[i][j] = i + j;
        continue;
      }
      const int a = Upper(word[i - 1]);
      const int b = static_cast<unsigned char>(keyword[j - 1]);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a != b)});
      if (i > 1 && j > 1 && a == static_cast<unsigned char>(keyword[j - 2]) &&
          Upper(word[i - 2]) == b)
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[m][n];
}

}  // namespace

int likely_keyword(const int* word, int length, bool* by_case) {
  *by_case = false;
  if (length < 1 || length > kLongestWord) return -1;
  int best = -1;
  int fewest = kLongestWord;
  for (int k = 0; k < kKeywordCount; ++k) {
    const int edits = Edits(word, length, keyword_name(k));
    const int len = static_cast<int>(std::strlen(keyword_name(k)));
    const bool near = edits == 0 || (len > 1 && edits <= (len > kShortKeyword ? 2 : 1));
    if (near && edits < fewest) {
      best = k;
      fewest = edits;
    }
  }
  *by_case = best >= 0 && fewest == 0;
  return best;
}
