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

/// The components whose availability flag is `flag`, `layout.per_line` to a line.
void ListComponents(const ReportLayout& layout, Output* out, const ComponentList& s, char flag) {
  int v = 0;
  for (int k = 0; k < s.K; ++k) {
    if (flagRR[k] != flag) {
      continue;
    }
    layout.element(out, k + 1 + s.rs, static_cast<double>(RR[s.Ns + k]));
    if (++v % layout.per_line == 0) {
      put_text(out, "\n");
    }
  }
}

/// The matches of one walk as they are printed: paged, numbered, their
/// components used up, the leading imaginary element freed again after
/// every record so that it can stand in any number of matches.
struct Printer {
  const ReportLayout& layout;
  Output* out;
  const ComponentList& list;
  const WalkPlan& plan;
  bool restore_imaginary = false;
  int printed = 0;
};

/// Takes up record j against its partner p, both shown with the flags given:
/// printed when its components are free or may serve again. False when the
/// user ended the listing.
bool TakeUp(Printer* printer, int j, char flag_j, int p, char flag_p, float f_de) {
  const bibl& a = Mb[j];
  const bibl& b = Mb[p];
  const ComponentList& s = printer->list;
  const MatchComponents k{shown_component(s, a.x), shown_component(s, a.y), shown_component(s, b.x),
                          shown_component(s, b.y)};
  const bool free =
      std::all_of(k.begin(), k.end(), [](const ShownComponent& c) { return c.flag == kFree; });
  if (free || fall != 0) {
    const ReportLayout& layout = printer->layout;
    Output* out = printer->out;
    if (printer->printed > 0 && printer->printed % kMatchesPerPage == 0 && layout.every_ten &&
        !layout.every_ten(out)) {
      return false;
    }
    ++printer->printed;
    const double mean = Mean(a.fc, b.fc);
    layout.label(out, printer->printed, mean);
    layout.flag_line(out, j, flag_j, p, flag_p, free ? kFree : kUsed);
    layout.component_line(out, k, static_cast<double>(f_de));
    for (const ShownComponent& c : k) {
      if (c.k >= 0) {
        flagRR[c.k] = kUsed;
      }
    }
    if (printer->plan.walked) printer->plan.walked->push_back(WalkedMatch{j, p, k, mean, f_de});
  }
  if (printer->restore_imaginary) {
    flagRR[0] = kFree;
  }
  return true;
}

/// The matches by rising deviation up to the first that reaches the threshold.
void WalkByDeviation(Printer* printer, int n, float threshold, char flag1, char flag2) {
  for (int i = 0; i <= n; ++i) {
    const int j = first_of_rank(by_sort_de, i, flag1, flag2);
    if (j < 0) {
      continue;
    }
    const bibl& a = Mb[j];
    if (deviation_stops(a.f_de, threshold)) {
      printer->layout.stop(printer->out, static_cast<double>(threshold));
      return;
    }
    const int p = a.N_de;
    if (p < 0 || p > n) {
      continue;
    }
    if (!TakeUp(printer, j, a.flag, p, Mb[p].flag, a.f_de)) return;
  }
}

/// The matches chosen ahead, then the stop line a walk to the threshold shows.
void WalkChosen(Printer* printer, int n, float threshold) {
  for (const ChosenSet& c : *printer->plan.chosen) {
    if (c.low < 0 || c.low > n || c.high < 0 || c.high > n) continue;
    if (!TakeUp(printer, c.low, c.kind, c.high, c.kind, c.f_de)) return;
  }
  if (static_cast<double>(threshold) >= kNoThreshold)
    printer->layout.stop(printer->out, static_cast<double>(threshold));
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

void report_walk(const ReportLayout& layout, Output* out, int n, float threshold, int N, char flag1,
                 char flag2, int Ns, const WalkPlan& plan) {
  put_text(out, layout.header);
  put_text(out, fall == 0 ? layout.mode_once : layout.mode_repeat);
  layout.output_flags(out, flag1, flag2);

  const ComponentList s = component_list(Ns, N);
  Printer printer{layout, out, s, plan};
  printer.restore_imaginary = s.K > 0 && is_imaginary(RR[Ns]);
  n = std::min(n, kMbSize - 1);
  if (plan.chosen)
    WalkChosen(&printer, n, threshold);
  else
    WalkByDeviation(&printer, n, threshold, flag1, flag2);

  put_text(out, "\n=====================Rezalts end==============================\n");
  put_text(out, "\tСписок использованных элементов\n");
  ListComponents(layout, out, s, kUsed);
  put_text(out, "\n\tСписок не использованных элементов\n");
  ListComponents(layout, out, s, kFree);
}
