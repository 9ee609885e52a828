// What the console report and the file report share: the component list as
// the reports see it, and the one walk over the matches by rising deviation.
// The two reports differ only in their texts and in what happens every ten
// matches, which a ReportLayout carries.
#pragma once

#include <array>
#include <vector>

#include "engine/deviation.h"
#include "program1/register_table.h"
#include "selection/most_sets.h"
#include "text/output.h"

/// The component list of the register table as the reports read it.
struct ComponentList {
  int Ns = 0;  ///< First component slot.
  int K = 0;   ///< Number of components; 0 when there is no list.
  int rs = 0;  ///< Number shift: -1 when the imaginary element leads the list.
};

/// The list of slots Ns to N, cut to what the register table holds: no START
/// (Ns 200) or N below Ns gives an empty list, and relative indices stay
/// within 0 to 198.
ComponentList component_list(int Ns, int N);

/// One component of a match as a report shows it.
struct ShownComponent {
  int k = -1;          ///< Relative index; -1 when it names no slot.
  int number = 0;      ///< Component number shown.
  char flag = kFree;   ///< Availability flag before the match marks it.
  float value = 0.0f;  ///< Component value shown.
};

/// The component of number u taken from a pair record. A negative number is
/// an imaginary element: the leading one at relative index 0 when the list
/// starts with it; otherwise the imaginary element itself, which has no slot
/// of its own here (R0, always free, value -1), so that no real component is
/// shown or used up in its place. A number outside the list shows flag '?',
/// which keeps its match from counting as available.
ShownComponent shown_component(const ComponentList& s, int u);

/// Matches between two calls of a layout's every_ten: a console page.
inline constexpr int kMatchesPerPage = 10;

/// The four components of a match in the order its component line shows
/// them: the record's x and y, then its partner's x and y.
using MatchComponents = std::array<ShownComponent, 4>;

/// The values of a component line in the order both reports' formats take
/// them: number, flag and value of each component, then the deviation. A
/// macro, so that each report keeps its format a literal that the compiler
/// checks against these values.
#define MATCH_COMPONENT_VALUES(k, f_de)                                                      \
  (k)[0].number, (k)[0].flag, static_cast<double>((k)[0].value), (k)[1].number, (k)[1].flag, \
      static_cast<double>((k)[1].value), (k)[2].number, (k)[2].flag,                         \
      static_cast<double>((k)[2].value), (k)[3].number, (k)[3].flag,                         \
      static_cast<double>((k)[3].value), (f_de)

/// The texts of one report. Every line with numbers in it is a function
/// that prints it from a literal format, so that the compiler checks each
/// format against its arguments.
struct ReportLayout {
  const char* header;       ///< First header line.
  const char* mode_once;    ///< Mode line when a component serves once (fall 0).
  const char* mode_repeat;  ///< Mode line when components may serve again.
  /// Output-flag line: the two output flags.
  void (*output_flags)(Output* out, char flag1, char flag2);
  /// Match label: match number, mean of the two pair values.
  void (*label)(Output* out, int number, double mean);
  /// Flag line: record, its flag, partner record, its flag, flagrr.
  void (*flag_line)(Output* out, int j, char flag_j, int p, char flag_p, char flagrr);
  /// Component line: the four components and the deviation.
  void (*component_line)(Output* out, const MatchComponents& k, double f_de);
  /// Stop line: the threshold.
  void (*stop)(Output* out, double threshold);
  /// List entry: component number, value.
  void (*element)(Output* out, int number, double value);
  int per_line;  ///< List entries per line.
  /// Runs before the 11th, 21st, ... match; false ends the walk with that
  /// match unprinted. nullptr: nothing happens there.
  bool (*every_ten)(Output* out);
};

/// A match a walk printed, with the mean and the deviation it showed.
struct WalkedMatch {
  int j = 0;
  int p = 0;
  MatchComponents components;
  double mean = 0.0;
  float f_de = 0.0f;
};

/// What a walk takes beyond the tables, and what it gives back.
struct WalkPlan {
  /// nullptr: the matches by rising deviation with the stop rule. Else
  /// exactly these, in this order (podbor --most), then the stop line when
  /// a threshold is set, as a walk that reached it would show.
  const std::vector<ChosenSet>* chosen = nullptr;
  /// When given, receives the matches printed, in order.
  std::vector<WalkedMatch>* walked = nullptr;
};

/// The header, the walk over the ranks 0 to n of the deviation index
/// by_sort_de with the stop rule (or over plan.chosen), the marking of the
/// availability flags, and the end banner with the lists of used and unused
/// components; `threshold` is the threshold, flag1 and flag2 the output
/// flags. The caller writes the closing line.
void report_walk(const ReportLayout& layout, Output* out, int n, float threshold, int N, char flag1,
                 char flag2, int Ns, const WalkPlan& plan = {});
