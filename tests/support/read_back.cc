#include "support/read_back.h"

#include "program1/register_table.h"
#include "program1/run.h"
#include "program1/settings.h"
#include "support/memory_stream.h"
#include "text/console.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"
#include "vvod_z/data_file_warnings.h"

ReadBack read_back(const std::string& file) {
  ReadBack r;
  reset_run();
  mark_unwritten();
  FILE* in = open_reading(file);
  int words = 0;
  const int a = read_data_file(in, &words);
  std::fclose(in);
  if (a < 0) return r;
  r.fits = true;
  obrabotka(data.data(), a);
  take_settings();
  const Output saved = console.err;
  Collected err;
  open_collected(&err);
  console.err = Output{err.f, false, false};
  data_file_warnings("data", a);
  r.warnings = close_collected(&err);
  console.err = saved;
  const int Ns = countst();
  const int N = count(Ns);
  for (int k = 0; k < component_count(Ns, N); ++k)
    r.values.push_back(RR[Ns + k]);
  return r;
}
