#include "writers/run_results.h"

#include <ctime>

#include "engine/pair_table.h"
#include "program1/register_table.h"
#include "report/report_walk.h"
#include "text/file_system.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"

namespace {

/// "2026-12-07 18:05", local time.
std::string Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char buf[32];
  return std::strftime(buf, sizeof(buf), "%Y-%m-%d %H:%M", &local) ? buf : "";
}

/// The words of the data file as written, by the slot they filled.
std::vector<std::string> WrittenBySlot() {
  std::vector<std::string> written(kSlots);
  const WordNote* w = nullptr;
  const int n = word_notes(&w);
  for (int k = 0; k < n; ++k) {
    if (w[k].slot < 0 || w[k].slot >= kSlots || w[k].command != kNotKeyword) continue;
    std::string& text = written[w[k].slot];
    text.clear();
    for (int p = w[k].first; p < w[k].comma; ++p)
      text += static_cast<char>(data[p]);
  }
  return written;
}

/// A side of a match: the real components among its two.
ResultSide Side(const ShownComponent& a, const ShownComponent& b, float value,
                const std::vector<int>& part_of) {
  ResultSide side;
  side.value = value;
  for (const ShownComponent& c : {a, b})
    if (c.k >= 0 && part_of[c.k] >= 0) side.parts.push_back(part_of[c.k]);
  return side;
}

}  // namespace

RunResults collect_run_results(const char* data_file, int Ns, int N, int nn, float zmin, float zmax,
                               bool most, const std::vector<WalkedMatch>& walked) {
  RunResults r;
  r.data_file = data_file;
  r.data_path = absolute_path(data_file);
  r.date = Now();
  r.parallel = tipr == kParallel;
  r.tch = tch;
  r.znach = znach;
  r.otcl = otcl;
  r.band = fotcl == 0;
  r.zmin = zmin;
  r.zmax = zmax;
  r.repeat = fall != 0;
  r.most = most;
  r.fv1 = fv1;
  r.fv2 = fv2;
  r.pairs = nn + 1;

  const ComponentList list = component_list(Ns, N);
  const std::vector<std::string> written = WrittenBySlot();
  std::vector<int> part_of(static_cast<size_t>(list.K), -1);
  for (int k = 0; k < list.K; ++k) {
    const float value = RR[Ns + k];
    if (is_imaginary(value)) continue;
    part_of[k] = static_cast<int>(r.parts.size());
    ResultPart part;
    part.number = k + 1 + list.rs;
    part.value = value;
    part.written = written[Ns + k];
    r.parts.push_back(part);
  }
  for (const WalkedMatch& m : walked) {
    const MatchComponents& c = m.components;
    ResultSet set;
    set.number = static_cast<int>(r.sets.size()) + 1;
    set.low = Side(c[0], c[1], Mb[m.j].fc, part_of);
    set.high = Side(c[2], c[3], Mb[m.p].fc, part_of);
    set.mean = m.mean;
    set.deviation = m.f_de;
    for (const ResultSide* side : {&set.low, &set.high})
      for (int part : side->parts)
        if (r.parts[part].set < 0) r.parts[part].set = static_cast<int>(r.sets.size());
    r.sets.push_back(set);
  }
  return r;
}
