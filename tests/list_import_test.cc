// The list import: lists as people keep them give the values with their
// exact digits and labels, and the data file written reads back through the
// real reader without a warning.
#include "import/import_list.h"

#include <gtest/gtest.h>

#include <string>

#include "program1/register_table.h"
#include "support/read_back.h"
#include "support/test_util.h"

namespace {

/// The list of a data file as "digits|label" per value, ';' between.
std::string ListOf(const std::string& file) {
  std::string out;
  size_t at = file.find("\nSTART,\n");
  if (at == std::string::npos) return out;
  at += std::string("\nSTART,\n").size();
  for (size_t end; (end = file.find('\n', at)) != std::string::npos && file[at] != 'E';
       at = end + 1) {
    const std::string line = file.substr(at, end - at);
    const size_t label = line.find("  ", line.find("// R"));
    out += (out.empty() ? "" : ";") + line.substr(0, line.find(',')) + "|" +
           (label == std::string::npos ? "" : line.substr(label + 2));
  }
  return out;
}

struct Case {
  const char* what;
  std::string list;
  const char* values;  ///< ListOf the data file; "" for a list in trouble.
  int warnings;
  char unit = 0;
  int column = 0;
  const char* column_name = "";
  const char* otcl = "";
};

std::string Utf16(const std::u16string& s, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : s) {
    const char hi = static_cast<char>(c >> 8);
    const char lo = static_cast<char>(c & 0xFF);
    out += big_endian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

}  // namespace

TEST(ListImport, ListsGiveTheirValuesLabelsAndWarnings) {
  const Case cases[] = {
      {"one per line, any line end, comments", "10,02\r\n10.05\r9,98\n\n# note\n10.5 // ok\n",
       "10.02|;10.05|;9.98|;10.5|", 0},
      {"multipliers, units and RKM",
       "4.7k\n10 kΩ\n470 Ом\n1.5 MOhm\n4k7\n1M2\n100R\nR47\n0R1\n2,2 кОм\n1mΩ\n4K7\n1.00E+03\n",
       "4700|;10000|;470|;1500000|;4700|;1200000|;100|;0.47|;0.1|;2200|;0.001|;4700|;1000|", 0},
      {"kilo-ohms keep the measured digits", "4k7\n470\n10,020\n", "4.7|;0.470|;0.010020|", 1, 'k'},
      {"thousands where they are plain", "1 000\n1,000.5\n1.000,5\n1 000 000\n",
       "1000|;1000.5|;1000.5|;1000000|", 0},
      {"1,000 alone: decimal, said once", "1,000\n2,000\n", "1.000|;2.000|", 1},
      {"1,000 beside decimal points", "10.5\n1,000\n", "10.5|;1000|", 0},
      {"1,000 beside decimal commas", "R;Label\n1,000;a\n10,5;b\n", "1.000|a;10.5|b", 0},
      {"a running count in kilo-ohms", "1;4,7k\n2;4,8k\n", "4.7|1;4.8|2", 0, 'k'},
      {"values apart by blanks and commas", "10.02 10.05\n9.99, 10.01\n",
       "10.02|;10.05|;9.99|;10.01|", 0},
      {"CSV: numbering, quoted labels, gaps",
       "N,Value,Label\n1,4.7k,\"top \"\"A\"\"\"\n2,,empty\n3,abc,bad\n4,\"10,5\",x\n",
       "4700|top \"A\";10.5|x", 2},
      {"semicolons, label column first", "Метка;R, Ом\nверх;10,02\nниз;10,05\n",
       "10.02|верх;10.05|низ", 0},
      {"running count as the label", "1\t10.02\n2\t10.05\n", "10.02|1;10.05|2", 0},
      {"column by number", "a;1;2;3\nb;4;5;6\n", "3|a;6|b", 0, 0, 4},
      {"column by name", "R;T;Name\n10;25;x\n11;26;y\n", "25|x;26|y", 0, 0, 0, "t"},
      {"no such column", "R;T\n10;25\n", "", 0, 0, 0, "U"},
      {"no value, negative, zero, muddled", "-5\n0\nabc\n1.2.3\n10\n", "10|", 4},
      {"nothing readable", "abc\n\n", "", 0},
      {"tolerance without a sought value", "10\n", "", 0, 0, 0, "", "1.5"},
      {"a label that could break a comment", "Name,Value\n\"a */ b\nc\x01\",4.7\n", "4.7|a */ b c",
       0},
      {"Windows-1251", "\xCC\xE5\xF2\xEA\xE0;R\n\xE2\xE5\xF0\xF5;4,7 \xEA\xCE\xEC\n", "4700|верх",
       0},
      {"UTF-8 with BOM",
       "\xEF\xBB\xBF"
       "4k7\n",
       "4700|", 0},
      {"UTF-16 LE", Utf16(u"R\t\u0417\n\u0431\t4k7\n", false), "4700|б", 0},
      {"UTF-16 BE", Utf16(u"1,5\n", true), "1.5|", 0},
  };
  for (const Case& c : cases) {
    ImportOptions o;
    o.unit = c.unit;
    o.column = c.column;
    o.column_name = c.column_name;
    o.otcl = c.otcl;
    const ImportResult r = import_list(c.list, o);
    EXPECT_EQ(ListOf(r.data_file), c.values) << c.what;
    EXPECT_EQ(static_cast<int>(r.warnings.size()), c.warnings) << c.what;
    EXPECT_EQ(r.trouble.empty(), *c.values != 0) << c.what << ": " << r.trouble;
  }
}

TEST(ListImport, DataFileReadsBackWithoutWarnings) {
  // Values of every width, more than the list holds, with the settings
  // and without: the file stops at the component limit or at the character
  // limit, never past either.
  constexpr size_t kWhole = 11;
  for (size_t width = 1; width <= 24; ++width) {
    std::string list = "Value;Label\n";
    for (int k = 1; k <= 200; ++k) {
      std::string digits = (std::to_string(k) + std::string(30, '7')).substr(0, width);
      if (width > kWhole + 1) digits[kWhole] = ',';
      list += digits + ";part " + std::to_string(k) + " */ //\n";
    }
    for (bool settings : {false, true}) {
      ImportOptions o;
      if (settings) {
        o.znach = "4,7k";
        o.otcl = "1.5";
        o.tch = "0,02";
        o.parallel = true;
      }
      const ImportResult r = import_list(list, o);
      const ReadBack back = read_back(r.data_file);
      ASSERT_TRUE(back.fits) << width;
      EXPECT_EQ(back.warnings, "") << width;
      ASSERT_EQ(back.values.size(), static_cast<size_t>(r.values)) << width;
      EXPECT_EQ(r.warnings.size(), 1u) << width;  // the values left out
      const std::string values = ListOf(r.data_file);
      size_t at = 0;
      for (float v : back.values) {
        // The reader sums the digits in a float: close, not always the nearest.
        EXPECT_NEAR(v, std::stof(values.substr(at)), v * 1e-6) << width;
        at = values.find(';', at) + 1;
      }
      EXPECT_FLOAT_EQ(RR[kZNACH], settings ? 4700 : 0);
      EXPECT_FLOAT_EQ(RR[kOTCL], settings ? 1.5 : 0);
    }
  }
}

// From the spreadsheet and back, through the executable as the README shows
// it: the list made into a data file, the run's sets into a CSV that names
// each value as the list wrote it.
TEST(ListImport, SpreadsheetRoundTrip) {
  ScopedTempDir dir;
  write_file(dir / "rezistory.csv",
             "№;R, кОм;Примечание\n1;4,702 кОм;верхний ряд\n2;4,695k;\n3;4710;перепаян\n"
             "4;4,700;\n5;4,697;\n6;4,705;\n");
  RunResult r = run_podbor_split(
      dir.path(), "",
      {{"--import", "rezistory.csv", "--unit", "k", "--tch", "0.5", "-o", "d.txt"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = run_podbor_split(dir.path(), "", {{"--csv", "sets.csv", "d.txt"}});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string csv = read_file(dir / "sets.csv");
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);  // a BOM, for a double-click
  EXPECT_NE(csv.find("\r\n1;A;"), std::string::npos) << csv;
  EXPECT_NE(csv.find(";1;4.702;4,702;"), std::string::npos) << csv;  // R1 as the list wrote it
  EXPECT_NE(csv.find(";3;4.710;4,71;"), std::string::npos) << csv;
}
