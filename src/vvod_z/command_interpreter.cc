#include "vvod_z/command_interpreter.h"

#include <cmath>

#include "program1/register_table.h"
#include "vvod_z/data_cells.h"

namespace {

constexpr int kCommandAbandoned = -1;
/// The values of `echo`: a command waits for its number, or none does.
constexpr int kWaiting = 'Y';
constexpr int kNotWaiting = 'N';

/// What waits for its number in `flagcomm`.
constexpr int kNothingWaits = 0;
constexpr int kValueCommandWaits = 1;
constexpr int kFlagCommandWaits = 2;

/// What the interpreter keeps between words. It outlives one call of
/// sortirovka so that a command can wait for the next word; it lives at file
/// scope so that reset_interpreter can start a new run.
struct InterpreterState {
  int flagcomm = kNothingWaits;
  int i = 0;               ///< The slot of the waiting command.
  int j = 0;               ///< The component cursor: the next list slot.
  int appended = kNoSlot;  ///< Where the current word was appended.
};

InterpreterState state;

/// The words of the last interpretation.
std::array<WordNote, kDataCells> notes;
int note_count = 0;

/// Appends one list entry at the cursor. Past the last slot of the table the
/// entry is only noted, so that the warnings can say how many were lost.
void AppendEntry(float value, char flag) {
  if (state.j < 0 || state.j >= kSlots) {
    state.appended = kSlots;
    return;
  }
  state.appended = state.j;
  RR[state.j] = value;
  flagRR[state.j] = flag;
  ++state.j;
}

/// The flag of a flag command: '0' plus the integer part of `v` kept to the
/// 8 bits of the cell. Taken modulo 256 in floating point, because the
/// integer part of a float may lie far beyond any integer type; infinities
/// (and anything that is no number) give the remainder 0.
char CommandFlag(float v) {
  long double remainder = std::fmod(std::trunc(static_cast<long double>(v)), 256.0L);
  if (!std::isfinite(remainder)) {
    remainder = 0;
  }
  return static_cast<char>('0' + static_cast<int>(remainder));
}

}  // namespace

int obrabotka(const int* chars, int a) {
  // A word may run over the whole buffer; it is read whole, never cut.
  std::array<int, kDataCells + 1> str;
  int j = 0;
  float cifra = 0.0f;
  int echo = kNotWaiting;
  note_count = 0;
  for (int i = 0; i <= a; ++i) {
    int c = chars[i];
    if (c == 0) {
      return 0;
    }
    if (c != ',') {
      // Only a caller's buffer longer than the reader's could fill it.
      if (j < kDataCells) {
        str[j++] = c;
      }
      continue;
    }
    str[j] = 0;
    int ret_command = obr_str(str.data(), j - 1);
    if (ret_command == kNotKeyword) {
      vvod_cifr(str.data(), j - 1, &cifra);
    }
    state.appended = kNoSlot;
    int ret_echo = sortirovka(ret_command, &cifra, echo);
    if (note_count < kDataCells) {
      notes[note_count++] = {i - j, i, ret_command, echo == kWaiting, ret_echo, state.appended};
    }
    echo = ret_echo == kExpectsNumber ? kWaiting : kNotWaiting;
    j = 0;
  }
  return 0;
}

int obr_str(const int* str, int aj) {
  for (int n = 0; comand[n][0] != kKeywordTableEnd; ++n) {
    const char* e = comand[n];
    int p = 0;
    while (p <= aj && e[p] != 0 && str[p] != 0 && str[p] == static_cast<unsigned char>(e[p])) {
      ++p;
    }
    if (e[p] == 0 && str[p] == 0) {
      return n;
    }
  }
  return kNotKeyword;
}

const char* keyword_name(int n) {
  return comand[n];
}

int vvod_cifr(const int* str, int aj, float* cif) {
  float sum = 0.0f;
  // A power of ten in extended precision rather than an integer: any number
  // of digits after the point keeps its value.
  long double en = 0;
  for (int p = 0; p <= aj; ++p) {
    if (str[p] == '.') {
      en = 1;
      continue;
    }
    sum = static_cast<float>(static_cast<long double>(sum) * 10 + (str[p] - 48));
    en *= 10;
  }
  if (en == 0) {
    en = 1;
  }
  // An infinite accumulator stays infinite even when en overflowed as well.
  *cif = std::isinf(sum) ? sum : static_cast<float>(sum / en);
  return 0;
}

int sortirovka(int comm, const float* cifra, int echo) {
  if (echo == kNotWaiting) {
    state.flagcomm = kNothingWaits;
  }
  switch (comm) {
    case kTCH:
    case kZNACH:
    case kOTCL:
      state.flagcomm = kValueCommandWaits;
      state.i = comm;
      flagRR[comm] = static_cast<char>('0' + comm);
      break;
    case kFALL:
    case kTIP:
    case kFOTCL:
      state.flagcomm = kFlagCommandWaits;
      state.i = comm;
      break;
    case kN:
    case kY:
    case kP:
    case kZ:
      flagRR[comm] = comand[comm][0];
      RR[comm] = command_marker(comm);
      return 0;
    case kSTART:
      RR[kStartSlot] = kStartMarker;
      flagRR[kStartSlot] = kStartFlag;
      state.j = kFirstComponentSlot;
      return 0;
    case kNUL:
      AppendEntry(kImaginaryValue, kImaginaryFlag);
      return 0;
    case kEND:
      AppendEntry(kEndValue, kEndFlag);
      break;
    default:
      break;
  }
  bool is_number = comm == kNotKeyword;
  if (echo == kWaiting && !is_number) {
    return kCommandAbandoned;
  }
  if (state.flagcomm != kNothingWaits && echo == kNotWaiting) {
    return kExpectsNumber;
  }
  if (echo == kWaiting && state.flagcomm == kValueCommandWaits) {
    state.flagcomm = kNothingWaits;
    RR[state.i] = *cifra;
    flagRR[state.i] = static_cast<char>('0' + state.i);
  }
  if (echo == kWaiting && state.flagcomm == kFlagCommandWaits) {
    state.flagcomm = kNothingWaits;
    RR[state.i] = command_marker(state.i);
    flagRR[state.i] = CommandFlag(*cifra);
  }
  if (flagRR[kStartSlot] == kStartFlag && is_number) {
    AppendEntry(*cifra, kFree);
  }
  return 0;
}

void reset_interpreter() {
  state = InterpreterState{};
  note_count = 0;
}

int word_notes(const WordNote** out) {
  *out = notes.data();
  return note_count;
}
