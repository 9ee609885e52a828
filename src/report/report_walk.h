// What the console report and the file report share: the component list as
// the reports see it, and the one walk over the matches by rising deviation.
// The two reports differ only in their texts and in what happens every ten
// matches, which a ReportLayout carries.
#pragma once

#include "program1/register_table.h"
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

/// The texts of one report, printf formats with decimal commas.
struct ReportLayout {
  const char* header;          ///< First header line.
  const char* mode_once;       ///< Mode line when a component serves once (fall 0).
  const char* mode_repeat;     ///< Mode line when components may serve again.
  const char* output_flags;    ///< Output-flag line: fv1, fv2.
  const char* label;           ///< Match label: number, mean.
  const char* flag_line;       ///< Flag line: index, flag, partner index, flag, flagrr.
  const char* component_line;  ///< Component line: 4 x (number, flag, value), deviation.
  const char* stop;            ///< Stop line: threshold.
  const char* element;         ///< List entry: number, value.
  int per_line;                ///< List entries per line.
  /// Runs before the 11th, 21st, ... match; false ends the walk with that
  /// match unprinted. nullptr: nothing happens there.
  bool (*every_ten)(Output* out);
};

/// The header, the walk over the ranks 0 to n of the deviation index
/// by_sort_de with the stop rule, the marking of the availability flags, and
/// the end banner with the lists of used and unused components; `threshold` is
/// the threshold, v1 and v2 the output flags. The caller writes the closing
/// line.
void report_walk(const ReportLayout& m, Output* out, int n, float threshold, int N, char v1,
                 char v2, int Ns);
