#include "report/report_walk.h"

#include <algorithm>
#include <array>

#include "engine/deviation.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "program1/register_table.h"

namespace {

/// The flag of a component number that names no component of the list; it
/// keeps its match from counting as available.
constexpr char kNotInList = '?';

/// An imaginary element that does not lead the list: shown as itself, never
/// marked, always free.
constexpr ShownComponent kImaginary{-1, 0, kFree, kImaginaryValue};

/// The mean of the two pair values, not rounded back to float.
double Mean(float a, float b) {
  return static_cast<double>((static_cast<long double>(a) + b) / 2);
}

/// The components whose availability flag is `flag`, `m.per_line` to a line.
void ListComponents(const ReportLayout& m, Output* out, const ComponentList& s, char flag) {
  int v = 0;
  for (int k = 0; k < s.K; ++k) {
    if (flagRR[k] != flag) {
      continue;
    }
    m.element(out, k + 1 + s.rs, static_cast<double>(RR[s.Ns + k]));
    if (++v % m.per_line == 0) {
      put_text(out, "\n");
    }
  }
}

/// Prints the match of record j with its partner p, whose components are k,
/// and uses the components up.
void PrintMatch(const ReportLayout& m, Output* out, int number, int j, int p,
                const MatchComponents& k, char flagrr) {
  const bibl& a = Mb[j];
  const bibl& b = Mb[p];
  m.label(out, number, Mean(a.fc, b.fc));
  m.flag_line(out, j, a.flag, p, b.flag, flagrr);
  m.component_line(out, k, static_cast<double>(a.f_de));
  for (const ShownComponent& c : k) {
    if (c.k >= 0) {
      flagRR[c.k] = kUsed;
    }
  }
}

}  // namespace

ComponentList component_list(int Ns, int N) {
  ComponentList s;
  s.Ns = Ns;
  s.rs = number_shift(Ns);
  s.K = std::min(component_count(Ns, N), kFlagSlots);
  return s;
}

ShownComponent shown_component(const ComponentList& s, int u) {
  if (u < 0 && s.rs == 0) {
    return kImaginary;
  }
  // u >= 0 here or rs is -1, so this cannot overflow.
  int k = u < 0 ? 0 : u - 1 - s.rs;
  if (k < 0 || k >= s.K) {
    return ShownComponent{-1, u, kNotInList, 0.0f};
  }
  return ShownComponent{k, k + 1 + s.rs, flagRR[k], RR[s.Ns + k]};
}

void report_walk(const ReportLayout& m, Output* out, int n, float threshold, int N, char v1,
                 char v2, int Ns) {
  put_text(out, m.header);
  put_text(out, fall == 0 ? m.mode_once : m.mode_repeat);
  m.output_flags(out, v1, v2);

  ComponentList s = component_list(Ns, N);
  // The leading imaginary element is freed again after every record, so
  // that it can stand in any number of matches.
  bool restore_imaginary = s.K > 0 && is_imaginary(RR[Ns]);
  n = std::min(n, kMbSize - 1);
  int printed = 0;
  for (int i = 0; i <= n; ++i) {
    int j = first_of_rank(by_sort_de, i, v1, v2);
    if (j < 0) {
      continue;
    }
    const bibl& a = Mb[j];
    if (deviation_stops(a.f_de, threshold)) {
      m.stop(out, static_cast<double>(threshold));
      break;
    }
    int p = a.N_de;
    if (p < 0 || p > n) {
      continue;
    }
    const bibl& b = Mb[p];
    MatchComponents k{shown_component(s, a.x), shown_component(s, a.y), shown_component(s, b.x),
                      shown_component(s, b.y)};
    bool free =
        std::all_of(k.begin(), k.end(), [](const ShownComponent& c) { return c.flag == kFree; });
    if (free || fall != 0) {
      if (printed > 0 && printed % kMatchesPerPage == 0 && m.every_ten && !m.every_ten(out)) {
        break;
      }
      ++printed;
      PrintMatch(m, out, printed, j, p, k, free ? kFree : kUsed);
    }
    if (restore_imaginary) {
      flagRR[0] = kFree;
    }
  }

  put_text(out, "\n=====================Rezalts end==============================\n");
  put_text(out, "\tСписок использованных элементов\n");
  ListComponents(m, out, s, kUsed);
  put_text(out, "\n\tСписок не использованных элементов\n");
  ListComponents(m, out, s, kFree);
}
