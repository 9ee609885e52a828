// libFuzzer target: one whole run of the program per input, in this process.
//
// The input is the data file; the warnings about it are formatted and held
// to their bounds. Its first byte also picks what the user types
// at the console (paging answers, 'q', the end of input) and whether the
// switch -1 is given, so that those paths are fuzzed along with the file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/rank_index.h"
#include "program1/register_table.h"
#include "selection/most_sets.h"
#include "support/in_memory_run.h"
#include "vvod_z/data_file_warnings.h"

namespace {

/// The result file of every run goes into a directory of its own, on tmpfs
/// where there is one, so that it stays out of the way and cheap. The
/// working directory stays as it is: libFuzzer reads and writes the corpus
/// by the paths it was given.
std::string ScratchResultFile() {
  std::string tmpl =
      access("/dev/shm", W_OK) == 0 ? "/dev/shm/podbor_fuzz.XXXXXX" : "/tmp/podbor_fuzz.XXXXXX";
  char* dir = mkdtemp(tmpl.data());
  return dir ? std::string(dir) + "/Rezalts.txt" : std::string();
}

/// The error stream of one run stays short whatever the file holds: the
/// warnings up to their limit and the line that counts the rest, a few
/// reasons, each line of bounded length.
bool Bounded(const std::string& errors) {
  constexpr size_t kLongestLine = 1024;
  constexpr int kOtherLines = 8;
  int lines = 0;
  size_t start = 0;
  for (size_t end; (end = errors.find('\n', start)) != std::string::npos; start = end + 1) {
    if (end - start > kLongestLine) return false;
    ++lines;
  }
  return start == errors.size() && lines <= kMaxWarnings + 1 + kOtherLines;
}

/// Tables of more pairs than this (about 63 components) are selected from
/// for one input in sixteen: a selection there costs tens of milliseconds.
constexpr int kSmallTable = 2000;

/// The selection of the most sets on the table the run left, when the run
/// got as far as ranking its pairs: it must be a valid selection.
void CheckSelection(unsigned pick) {
  const int nn = by_sort.n;
  if (nn < 0 || (tipr != kSeries && tipr != kParallel)) return;
  if (nn >= kSmallTable && (pick & 0xF0) != 0xF0) return;
  const Selection s = most_sets(nn, kFirstComponentSlot, tch, fv1, fv2);
  if (!selection_fault(s, nn, kFirstComponentSlot, tch, fv1, fv2).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
  static const std::string result_file = ScratchResultFile();
  if (result_file.empty()) std::abort();

  std::string bytes(reinterpret_cast<const char*>(d), n);
  unsigned pick = n ? d[0] : 0;
  static const char* const kAnswers[] = {
      "data_1.txt\n",  // end of input at every paging prompt
      "data_1.txt\nq",
      "data_1.txt\nxq\n",
      "data_1.txt\n\n\n\n\n\n\n\n",
  };
  // The switch for one input in eight: with it every match is printed, and
  // the many large tables would spend most of the time formatting.
  const char* arg = (pick & 0x1C) == 0x1C ? "-1" : nullptr;
  std::string errors;
  in_memory_run(bytes, kAnswers[pick & 3], nullptr, arg, result_file.c_str(), &errors);
  if (!Bounded(errors)) std::abort();
  CheckSelection(pick);
  return 0;
}
