#include "engine/pair_building.h"

#include "engine/pair_table.h"
#include "program1/register_table.h"
#include "text/console.h"
#include "text/trouble.h"

namespace {

/// A pair with one imaginary member stands for the other member alone; two
/// imaginary members combine like any others (-2 in series, -0.5 in
/// parallel). Evaluated in long double, rounded once.
float Value(float a, float b, int tip) {
  if (is_imaginary(a) != is_imaginary(b)) {
    return is_imaginary(a) ? b : a;
  }
  long double total = static_cast<long double>(a) + b;
  if (tip == kSeries) {
    return static_cast<float>(total);
  }
  return static_cast<float>(static_cast<long double>(a) * b / total);
}

/// Component number of the component at relative index k: every occurrence
/// of the imaginary element takes the next number of the counter, so no two
/// pairs ever share one through it.
int Number(float v, int k, int rs, int* r_r) {
  return is_imaginary(v) ? (*r_r)-- : k + 1 + rs;
}

}  // namespace

int raschet(int Ns, int N, int tip, const float* zmin, const float* zmax, int f_proc_otcl) {
  if (tip != kSeries && tip != kParallel) {
    trouble(
        "Недопустимый тип соединения TIP=%d: допустимы только 1 (ПОСЛЕДОВАТЕЛЬНО) и 2 "
        "(ПАРАЛЛЕЛЬНО); пары не рассчитаны",
        tip);
    return -1;
  }
  const int K = component_count(Ns, N);
  const int rs = number_shift(Ns);
  int m = 0;
  int r_r = -1;
  // A dropped pair leaves m in place: the next pair overwrites its record,
  // and the last dropped one may stay in record m, past the used range.
  for (int i = 0; i < K && m < kMbSize; ++i) {
    for (int j = i + 1; j < K && m < kMbSize; ++j) {
      const float a = RR[Ns + i];
      const float b = RR[Ns + j];
      bibl& p = Mb[m];
      p.fc = Value(a, b, tip);
      p.x = Number(b, j, rs, &r_r);
      p.y = Number(a, i, rs, &r_r);
      p.flag = kPairOrdinary;
      if (f_proc_otcl != 0 || (*zmin <= p.fc && p.fc <= *zmax)) {
        ++m;
      }
    }
  }
  if (tip == kSeries) {
    console_print("\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры %d\n\n", m);
  } else {
    console_print("\nЧисло рассчитанных ПАРАЛЛЕЛЬНО элементов структуры %d\n\n", m);
  }
  return m - 1;
}
