// The register table and the run settings: where the data file's content
// lands and what steers the engine and the reports.
#pragma once

#include <array>

/// Slots 0 to 9 hold the settings, 15 the START marker, 16 on the component
/// list ended by an END marker.
inline constexpr int kSlots = 200;
inline constexpr int kStartSlot = 15;

/// Values of the slots: settings, markers (-103 ... -109, -2 for START) and
/// component values (-1 for the imaginary element).
extern std::array<float, kSlots> RR;
/// Flags of the slots: what a slot holds ('q' never written, '0' + v of a
/// setting, 'S', 'E', 'V', 'Y'); after count() the availability flags of the
/// components, 'Y' free and 'N' used, indexed by relative component index.
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

/// The first component slot: the slot after the first 'S' flag; 200 when
/// there is none.
int countst();

/// The last component slot: the slot before the first 'E' at or after `Ns`
/// (198 at most). Turns the flags of slots 0 to the result into 'Y'.
int count(int Ns);

/// The number of components in slots Ns to N, cut to the slots the register
/// table has, so that no read leaves it: 0 when there is no list (Ns 200) or
/// N lies below Ns.
int component_count(int Ns, int N);

/// Whether `v` truncated toward zero equals `m`: how a set slot and the
/// imaginary element are recognised. Defined for every float, NaN included.
bool trunc_equals(float v, int m);

/// The number shift of the component numbering: -1 when the imaginary
/// element leads the component list, else 0 (also when there is no list).
int number_shift(int Ns);
