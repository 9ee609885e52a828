#include "report/komponenty.h"

#include <algorithm>
#include <array>

#include "engine/bibl.h"
#include "engine/rank_index.h"
#include "program1/program1.h"

namespace {

/// Relative indices 0 to 198: the flag slots count() can hand to components.
constexpr int kMaxKomponentov = kSlots - 1;

/// An imaginary element that does not lead the list: shown as itself, never
/// marked, always free.
constexpr Komponent kMnimy{-1, 0, 'Y', -1.0f};

/// The first taken record whose deviation reaches the threshold ends the
/// walk. The threshold is compared as the float it is, and in double against
/// 0.0001, so a threshold typed as 0.0001 (a float just below) is none. A
/// deviation that is not a number never stops.
bool Ostanov(float f_de, float porog) {
  return f_de >= porog && static_cast<double>(porog) >= 0.0001;
}

/// The mean of the two pair values, not rounded back to float.
double Srednee(float a, float b) {
  return static_cast<double>((static_cast<long double>(a) + b) / 2);
}

/// The components whose availability flag is `flag`, `m.v_stroke` to a line.
void Perechen(const Maket& m, Vyvod* out, const Spisok& s, char flag) {
  int v = 0;
  for (int k = 0; k < s.K; ++k) {
    if (flagRR[k] != flag) {
      continue;
    }
    print(out, m.element, k + 1 + s.rs, static_cast<double>(RR[s.Ns + k]));
    if (++v % m.v_stroke == 0) {
      put_text(out, "\n");
    }
  }
}

/// Prints the match of record j with its partner p, whose components are k,
/// and uses the components up.
void Sovpadenie(const Maket& m, Vyvod* out, int nomer, int j, int p,
                const std::array<Komponent, 4>& k, char flagrr) {
  const bibl& a = Mb[j];
  const bibl& b = Mb[p];
  print(out, m.metka, nomer, Srednee(a.fc, b.fc));
  print(out, m.flagi, j, a.flag, p, b.flag, flagrr);
  print(out, m.sostav, k[0].nomer, k[0].flag, static_cast<double>(k[0].znach), k[1].nomer,
        k[1].flag, static_cast<double>(k[1].znach), k[2].nomer, k[2].flag,
        static_cast<double>(k[2].znach), k[3].nomer, k[3].flag, static_cast<double>(k[3].znach),
        static_cast<double>(a.f_de));
  for (const Komponent& c : k) {
    if (c.k >= 0) {
      flagRR[c.k] = 'N';
    }
  }
}

}  // namespace

Spisok spisok_komponentov(int Ns, int N) {
  Spisok s;
  s.Ns = Ns;
  s.rs = sdvig_rs(Ns);
  s.K = std::min(chislo_komponentov(Ns, N), kMaxKomponentov);
  return s;
}

Komponent komponent(const Spisok& s, int u) {
  if (u < 0 && s.rs == 0) {
    return kMnimy;
  }
  // u >= 0 here or rs is -1, so this cannot overflow.
  int k = u < 0 ? 0 : u - 1 - s.rs;
  if (k < 0 || k >= s.K) {
    return Komponent{-1, u, '?', 0.0f};
  }
  return Komponent{k, k + 1 + s.rs, flagRR[k], RR[s.Ns + k]};
}

void otchet(const Maket& m, Vyvod* out, int n, float porog, int N, char v1, char v2, int Ns) {
  put_text(out, m.zagolovok);
  put_text(out, fall == 0 ? m.rezhim_odin : m.rezhim_povtor);
  print(out, m.flagi_vyvoda, v1, v2);

  Spisok s = spisok_komponentov(Ns, N);
  // The leading imaginary element is freed again after every record, so
  // that it can stand in any number of matches.
  bool vernut_mnimy = s.K > 0 && RR[Ns] == -1.0f;
  n = std::min(n, kMbSize - 1);
  int napechatano = 0;
  for (int i = 0; i <= n; ++i) {
    int j = first_of_rank(po_sort_de, i, v1, v2);
    if (j < 0) {
      continue;
    }
    const bibl& a = Mb[j];
    if (Ostanov(a.f_de, porog)) {
      print(out, m.stop, static_cast<double>(porog));
      break;
    }
    int p = a.N_de;
    if (p < 0 || p > n) {
      continue;
    }
    const bibl& b = Mb[p];
    std::array<Komponent, 4> k{komponent(s, a.x), komponent(s, a.y), komponent(s, b.x),
                               komponent(s, b.y)};
    bool svobodny =
        std::all_of(k.begin(), k.end(), [](const Komponent& c) { return c.flag == 'Y'; });
    if (svobodny || fall != 0) {
      if (napechatano > 0 && napechatano % 10 == 0 && m.kazhdye_10 && !m.kazhdye_10(out)) {
        break;
      }
      ++napechatano;
      Sovpadenie(m, out, napechatano, j, p, k, svobodny ? 'Y' : 'N');
    }
    if (vernut_mnimy) {
      flagRR[0] = 'Y';
    }
  }

  put_text(out, "\n=====================Rezalts end==============================\n");
  put_text(out, "\tСписок использованных элементов\n");
  Perechen(m, out, s, 'N');
  put_text(out, "\n\tСписок не использованных элементов\n");
  Perechen(m, out, s, 'Y');
}
