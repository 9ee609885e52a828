// The register table and the run settings: where the data file's content
// lands and what steers the engine and the reports. The bottom layer of the
// program: every stage includes it, and it includes no stage.
#pragma once

#include <array>

/// Slots of the register table: the settings in slots 0 to 9, each at the
/// number of its keyword, the START marker, then the component list ended by
/// an END marker.
inline constexpr int kSlots = 200;
inline constexpr int kStartSlot = 15;
inline constexpr int kFirstComponentSlot = kStartSlot + 1;
/// The flag slots that count() and the reports can hand to components:
/// relative indices 0 to kFlagSlots - 1 (slot 199 is never one).
inline constexpr int kFlagSlots = kSlots - 1;

/// The keywords of the data file by number, in the order of the keyword
/// table. The settings' numbers are also their slots.
enum Keyword : int {
  kTCH,    ///< Value command: the accuracy threshold.
  kZNACH,  ///< Value command: the sought value.
  kOTCL,   ///< Value command: its tolerance in percent.
  kFALL,   ///< Flag command: repeated use of components.
  kN,      ///< Letter commands: the pair flags to print.
  kY,
  kP,
  kZ,
  kTIP,    ///< Flag command: the kind of pair.
  kFOTCL,  ///< Flag command: keep every pair, or only those in the band.
  kSTART,  ///< Opens the component list.
  kNUL,    ///< A list entry: the imaginary element.
  kEND,    ///< Ends the component list.
  kKeywordCount
};
/// The keywords as the data file spells them, by number, beside their
/// numbers above so that the two cannot drift apart; "q" only ends the table.
inline constexpr std::array<const char*, kKeywordCount + 1> comand = {
    "TCH", "ZNACH", "OTCL", "FALL", "N", "Y", "P", "Z", "TIP", "FOTCL", "START", "NUL", "END", "q"};
inline constexpr char kKeywordTableEnd = 'q';

/// The number a word gets when it is no keyword.
inline constexpr int kNotKeyword = 404;

/// Markers in `RR`: a flag or letter command of slot k leaves -(100 + k).
inline constexpr int kCommandMarkerBase = 100;
inline constexpr float kStartMarker = -2.0f;
/// The value of the imaginary element (written NUL), a component that stands
/// for no component at all.
inline constexpr float kImaginaryValue = -1.0f;
inline constexpr float kEndValue = 0.0f;

/// Letters in `flagRR`: what a slot holds, then the availability of the
/// components.
inline constexpr char kUnwritten = 'q';
inline constexpr char kStartFlag = 'S';
inline constexpr char kEndFlag = 'E';
inline constexpr char kImaginaryFlag = 'V';
inline constexpr char kFree = 'Y';  ///< A component not yet used by a reported match.
inline constexpr char kUsed = 'N';

/// The pair flags of the pair table, which the letter commands N, Y, P and Z
/// name to choose what the reports print.
inline constexpr char kPairOrdinary = 'Y';     ///< Partner found by the disjointness rule.
inline constexpr char kPairExcluded = 'N';     ///< Passed over by the matching.
inline constexpr char kPairByImaginary = 'P';  ///< Partner found by the imaginary-element rule.
inline constexpr char kPairNoPartner = 'Z';    ///< No partner above it.

/// Thresholds, tolerances and deviations are in percent.
inline constexpr long double kPercent = 100;

/// The kinds of pair of the setting `tipr`.
inline constexpr int kSeries = 1;
inline constexpr int kParallel = 2;

/// Values of the slots: settings, markers and component values.
extern std::array<float, kSlots> RR;
/// Flags of the slots: what a slot holds (kUnwritten, '0' + v of a setting,
/// a letter of a letter command, kStartFlag, kEndFlag, kImaginaryFlag,
/// kFree for a component); after count() the availability flags of the
/// components, indexed by relative component index.
extern std::array<char, kSlots> flagRR;

// Run settings, taken out of the register table once by the driver.
extern int fall;     ///< Nonzero: a component may serve in several matches.
extern int tipr;     ///< Kind of pair: 1 series, 2 parallel.
extern int fotcl;    ///< Nonzero: keep every pair; 0: only those within the bounds.
extern float tch;    ///< Accuracy threshold in percent; below 0.0001 none.
extern float znach;  ///< The sought value.
extern float otcl;   ///< Its tolerance in percent.
extern char fv1;     ///< The pair flags the reports print.
extern char fv2;

/// Puts the register table and the run settings back to their state at
/// program start (all zero, settings at their initial values).
void reset_register();

/// The first component slot: the slot after the first kStartFlag; kSlots
/// when there is none.
int countst();

/// The last component slot: the slot before the first slot at or after `Ns`
/// that holds kEndFlag or was never written (kUnwritten), 198 at most. Turns
/// the flags of slots 0 to the result into kFree.
int count(int Ns);

/// The number of components in slots Ns to N, cut to the slots the register
/// table has, so that no read leaves it: 0 when there is no list (Ns 200) or
/// N lies below Ns.
int component_count(int Ns, int N);

/// The marker a flag or letter command leaves in its slot.
inline constexpr float command_marker(int slot) {
  return static_cast<float>(-(kCommandMarkerBase + slot));
}

/// Whether the flag or letter command of `slot` occurred: its slot holds
/// the command's marker, truncated toward zero.
bool slot_set(int slot);

/// Whether `v` is the imaginary element, as the pair table and the reports
/// see it: exactly kImaginaryValue. (The number shift truncates instead.)
inline bool is_imaginary(float v) {
  return v == kImaginaryValue;
}

/// The number shift of the component numbering: -1 when the imaginary
/// element leads the component list, else 0 (also when there is no list).
int number_shift(int Ns);
