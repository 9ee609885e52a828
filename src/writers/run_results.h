// What a run found, as the CSV and HTML writers show it. The driver fills it
// from the same walk that writes "Rezalts.txt", so every writer shows the
// same sets in the same order.
#pragma once

#include <string>
#include <vector>

/// One real component of the list (the imaginary element is none).
struct ResultPart {
  int number = 0;       ///< R number, as the reports show it.
  float value = 0.0f;   ///< Its value.
  std::string written;  ///< The value as the data file writes it ("10.02").
  /// Its label, when the data file has one (the importer's "R1 label"
  /// comment); empty when not known.
  std::string label;
  /// Index in RunResults::sets of the first set that uses it; -1: unused.
  int set = -1;
};

/// One side of a set: one real component (standing with the imaginary
/// element) or two.
struct ResultSide {
  float value = 0.0f;      ///< The side's value: series sum or parallel value.
  std::vector<int> parts;  ///< Indices into RunResults::parts, 1 or 2 of them.
};

/// A reported set: two sides whose values agree within the threshold.
struct ResultSet {
  int number = 0;          ///< Set number in report order, from 1.
  ResultSide low;          ///< Side A: the lower value (the reports' record).
  ResultSide high;         ///< Side B: its partner.
  double mean = 0.0;       ///< (A + B) / 2, as the reports print it.
  float deviation = 0.0f;  ///< (B / A - 1) * 100, in percent.
};

struct RunResults {
  std::string data_file;  ///< The data file's name as the user gave it.
  std::string data_path;  ///< Its absolute path when known, else the name.
  std::string date;       ///< Local time of the run, "2026-12-07 18:05".
  bool parallel = false;  ///< Pairs in parallel (TIP 2) rather than in series.
  float tch = 0.0f;       ///< Accuracy threshold in percent; below 0.0001 none.
  float znach = 0.0f;     ///< Sought value.
  float otcl = 0.0f;      ///< Its tolerance in percent.
  bool band = false;      ///< Only pairs within [zmin, zmax] were kept (FOTCL 0).
  float zmin = 0.0f;
  float zmax = 0.0f;
  bool repeat = false;  ///< Components may serve in several sets (FALL 1, -1).
  bool most = false;    ///< The sets were chosen by --most.
  char fv1 = 'Y';       ///< The pair flags reported.
  char fv2 = 'P';
  int pairs = 0;                  ///< Pairs in the pair table.
  std::vector<ResultPart> parts;  ///< Every real component, in list order.
  std::vector<ResultSet> sets;    ///< In report order.
};

struct WalkedMatch;

/// The results of the run that the driver has just reported: the matches the
/// file report's walk printed (`walked`), the register and pair tables, the
/// run settings, and the words of the data file for the values as written. `data_file` is the name
/// the user gave; `most` whether --most chose the sets.
RunResults collect_run_results(const char* data_file, int Ns, int N, int nn, float zmin, float zmax,
                               bool most, const std::vector<WalkedMatch>& walked);
