#include "engine/raschet.h"

#include "engine/bibl.h"
#include "platform/konsol.h"
#include "program1/program1.h"

namespace {

/// Only the exact -1 stands for the imaginary element here; the number shift
/// truncates instead, and the two tests are kept apart on purpose.
bool Mnimyi(float v) {
  return v == -1.0f;
}

/// A pair with one imaginary member stands for the other member alone; two
/// imaginary members combine like any others (-2 in series, -0.5 in
/// parallel). Evaluated in long double, rounded once.
float Znachenie(float a, float b, int tip) {
  if (Mnimyi(a) != Mnimyi(b)) {
    return Mnimyi(a) ? b : a;
  }
  long double summa = static_cast<long double>(a) + b;
  if (tip == 1) {
    return static_cast<float>(summa);
  }
  return static_cast<float>(static_cast<long double>(a) * b / summa);
}

/// Component number of the component at relative index k: every occurrence
/// of the imaginary element takes the next number of the counter, so no two
/// pairs ever share one through it.
int Nomer(float v, int k, int rs, int* r_r) {
  return Mnimyi(v) ? (*r_r)-- : k + 1 + rs;
}

}  // namespace

int raschet(int Ns, int N, int tip, const float* zmin, const float* zmax, int f_proc_otcl) {
  if (tip != 1 && tip != 2) {
    kprint(
        "\nНедопустимый тип соединения TIP=%d: допустимы только 1 (ПОСЛЕДОВАТЕЛЬНО) и 2 "
        "(ПАРАЛЛЕЛЬНО); пары не рассчитаны\n\n",
        tip);
    return -1;
  }
  const int K = chislo_komponentov(Ns, N);
  const int rs = sdvig_rs(Ns);
  int m = 0;
  int r_r = -1;
  // A dropped pair leaves m in place: the next pair overwrites its record,
  // and the last dropped one may stay in record m, past the used range.
  for (int i = 0; i < K && m < kMbSize; ++i) {
    for (int j = i + 1; j < K && m < kMbSize; ++j) {
      const float a = RR[Ns + i];
      const float b = RR[Ns + j];
      bibl& p = Mb[m];
      p.fc = Znachenie(a, b, tip);
      p.x = Nomer(b, j, rs, &r_r);
      p.y = Nomer(a, i, rs, &r_r);
      p.flag = 'Y';
      if (f_proc_otcl != 0 || (*zmin <= p.fc && p.fc <= *zmax)) {
        ++m;
      }
    }
  }
  if (tip == 1) {
    kprint("\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры %d\n\n", m);
  } else {
    kprint("\nЧисло рассчитанных ПАРАЛЛЕЛЬНО элементов структуры %d\n\n", m);
  }
  return m - 1;
}
