// libFuzzer target: one whole run of the program per input, in this process.
//
// The input is the data file. Its first byte also picks what the user types
// at the console (paging answers, 'q', the end of input) and whether the
// switch -1 is given, so that those paths are fuzzed along with the file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/in_memory_run.h"

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
  in_memory_run(bytes, kAnswers[pick & 3], nullptr, arg, result_file.c_str());
  return 0;
}
