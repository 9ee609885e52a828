#include "vvod_z/data_file_reader.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "program1/register_table.h"
#include "program1/settings.h"
#include "support/memory_stream.h"
#include "support/test_util.h"
#include "text/console.h"
#include "vvod_z/command_interpreter.h"

namespace {

FILE* FileOf(const std::string& content) {
  FILE* f = temporary_file();
  std::fwrite(content.data(), 1, content.size(), f);
  std::rewind(f);
  return f;
}

std::string Remainder(FILE* f) {
  std::string s;
  for (int c; (c = std::getc(f)) != EOF;) {
    s += static_cast<char>(c);
  }
  return s;
}

/// What the reader stores of a file with `content`: the stored characters,
/// or "<too large>".
std::string Stored(const std::string& content, int* words = nullptr) {
  FILE* f = FileOf(content);
  int j = 0;
  int i = read_data_file(f, &j);
  std::fclose(f);
  if (words) {
    *words = j;
  }
  if (i < 0) {
    return "<too large>";
  }
  EXPECT_EQ(data[i], 0);
  return std::string(data.begin(), data.begin() + i);
}

struct Dialog {
  int result = -1;
  std::string out;
  std::string err;   ///< What went to the error stream.
  std::string rest;  ///< Console input left after the call.
};

/// One call of vvodz from program start with `input` typed on the console.
Dialog Vvodz(const std::string& input) {
  reset_register();
  reset_interpreter();
  mark_unwritten();
  Console saved = console;
  console.in = FileOf(input);
  console.out = Output{temporary_file(), false, false};
  console.err = Output{temporary_file(), false, false};
  Dialog d;
  d.result = vvodz();
  std::fflush(console.out.f);
  std::rewind(console.out.f);
  d.out = Remainder(console.out.f);
  d.rest = Remainder(console.in);
  std::fflush(console.err.f);
  std::rewind(console.err.f);
  d.err = Remainder(console.err.f);
  std::fclose(console.in);
  std::fclose(console.out.f);
  std::fclose(console.err.f);
  console = saved;
  return d;
}

const std::string kPrompt =
    "========= Введите имя файла============= \n"
    "========= Информация о файле данных ============= \n"
    "\nИмя файла ";

std::string Found(const std::string& name, int characters, int words,
                  const std::string& after = "") {
  return kPrompt + name + "  файл найден\n\nЧисло символов=" + std::to_string(characters) +
         "   Число слов=" + std::to_string(words) +
         "\n=========Конец информации о файле данных ============= \n" + after + "\n";
}

std::string NotFound(const std::string& name) {
  return kPrompt + name + "   файл не найден\n";
}

/// Whether the register table is as the driver handed it to the reader.
bool TableUntouched() {
  for (int k = 0; k < kSlots; ++k) {
    if (RR[k] != 0.0f || flagRR[k] != (k < kSlots - 1 ? 'q' : 0)) {
      return false;
    }
  }
  return true;
}

class VvodzTest : public ::testing::Test {
 protected:
  std::string Fail(const std::string& name, const std::string& content) {
    std::string p = dir_ / name;
    write_file(p, content);
    return p;
  }
  ScopedTempDir dir_;
};

}  // namespace

// ---- The comment filter and the character filter ----

TEST(ReadDataFile, CharacterFilter) {
  int words = 0;
  EXPECT_EQ(Stored("TCH, 1 000,\r\n-2.5+x;Q\tz\n", &words), "TCH,1000,2.5xQz");
  EXPECT_EQ(words, 3);
  EXPECT_EQ(Stored("START,\xD0\xA2\xD0\xB5\xF2,5,"), "START,,5,");  // Cyrillic, UTF-8 or 1251
  EXPECT_EQ(Stored("", &words), "");
  EXPECT_EQ(words, 1);
  EXPECT_EQ(Stored("  \n\n// only a comment, really\n/* and, another */\n", &words), "");
  EXPECT_EQ(words, 1);
}

TEST(ReadDataFile, Comments) {
  int words = 0;
  EXPECT_EQ(Stored("1,// a, line, comment\n2,", &words), "1,2,");
  EXPECT_EQ(words, 3);
  EXPECT_EQ(Stored("1,/* a, block,\n comment */2,", &words), "1,2,");
  EXPECT_EQ(words, 3);
  EXPECT_EQ(Stored("1/*/2,"), "12,");  // the opening '*' also closes
  EXPECT_EQ(Stored("1/**/2,"), "12,");
  EXPECT_EQ(Stored("1/* * / x*/2,"), "12,");  // "* /" does not close
  EXPECT_EQ(Stored("1,/*ABC*/D,"), "1,D,");
  EXPECT_EQ(Stored("1,// no line feed at the end"), "1,");
  EXPECT_EQ(Stored("1,/* never closed,\n2,\n"), "1,");
}

TEST(ReadDataFile, LoneSlashSwallowsUpToTheNextSlashOrStar) {
  int words = 0;
  EXPECT_EQ(Stored("10/2,3,\n4,//x\n5,", &words), "105,");
  EXPECT_EQ(words, 2);
  EXPECT_EQ(Stored("10/2,*3,*/6,"), "106,");  // the '*' opens a block comment
  EXPECT_EQ(Stored("1,*/2,"), "1,");          // a star and a slash outside a comment
}

TEST(ReadDataFile, KeepsWhereEachCharacterCameFrom) {
  struct Case {
    std::string content;
    int cell;
    CharOrigin origin;
  };
  const Case cases[] = {
      {"ab,\n c", 3, {2, 2, kGapLineBreak | kGapBlank, 0}},
      {"\r\n\t1", 0, {2, 2, kGapCarriageReturn | kGapLineBreak | kGapBlank, 0}},
      {"\xEF\xBB\xBF"
       "a",
       0,
       {1, 1, kGapDropped, 0xBF}},
      {"\xD0\x9E\xD0\xBC-1", 0, {1, 4, kGapDropped, '-'}},
      {"\xCE\xEC 1", 0, {1, 4, kGapDropped | kGapBlank, 0xEC}},
      {"x/*c*/y", 1, {1, 7, kGapComment, 0}},
      {"1/2\n/x\n3", 1, {3, 1, kGapComment | kGapSwallowed | kGapLineBreak, 0}},
      {"12", 2, {1, 3, 0, 0}},  // the terminator: the end of the file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    Stored(c.content);
    const CharOrigin& o = data_origin[c.cell];
    EXPECT_EQ(o.line, c.origin.line);
    EXPECT_EQ(o.col, c.origin.col);
    EXPECT_EQ(o.gap, c.origin.gap);
    EXPECT_EQ(o.dropped, c.origin.dropped);
  }
  Stored("1/2\n/x\n3, 4 / 5,");
  ASSERT_EQ(file_notes.swallow_count, 2);
  EXPECT_EQ(file_notes.swallows[0].line, 1);
  EXPECT_EQ(file_notes.swallows[0].col, 2);
  EXPECT_EQ(file_notes.swallows[0].end_line, 2);
  EXPECT_EQ(file_notes.swallows[1].end_line, 0);  // up to the end of the file
  Stored(
      std::string("\xFF\xFE"
                  "1\0,\0",
                  6));
  EXPECT_TRUE(file_notes.utf16);
  EXPECT_EQ(file_notes.nul_bytes, 2);
  EXPECT_EQ(file_notes.bytes, 6);
}

TEST(ReadDataFile, SizeLimit) {
  const std::string k2999(2999, 'A');
  EXPECT_EQ(Stored(k2999 + "\n  // comment, more\n/* x */ \r\n").size(), 2999u);
  EXPECT_EQ(Stored(k2999 + "B"), k2999 + "B");  // the terminator in cell 3000
  EXPECT_EQ(Stored(k2999 + "B\n"), "<too large>");
  EXPECT_EQ(Stored(k2999 + "B/"), "<too large>");
  EXPECT_EQ(Stored(k2999 + "BC"), "<too large>");

  // Nothing after the offending byte is read.
  FILE* f = FileOf(std::string(1 << 20, 'A'));
  int words = 0;
  EXPECT_EQ(read_data_file(f, &words), -1);
  EXPECT_EQ(std::ftell(f), kDataCells + 1);
  std::fclose(f);
}

// ---- The dialogue ----

TEST_F(VvodzTest, FoundFileIsInterpreted) {
  std::string p = Fail("d.txt", "TCH, 50, // threshold\nTIP, 1,\nSTART, NUL, 10, 12, 22, END,\n");
  Dialog d = Vvodz(p + "\n");
  EXPECT_EQ(d.result, 36);
  EXPECT_EQ(d.out, Found(p, 36, 11));
  EXPECT_EQ(RR[0], 50.0f);
  EXPECT_EQ(flagRR[8], '1');
  EXPECT_EQ(RR[16], -1.0f);
  EXPECT_EQ(RR[19], 22.0f);
  EXPECT_EQ(flagRR[20], 'E');
  EXPECT_EQ(flagRR[21], 'q');
}

TEST_F(VvodzTest, NameDialogue) {
  std::string p = Fail("d.txt", "START,7,");
  // Empty lines and blanks before the name; a second word and the next line stay unread.
  Dialog d = Vvodz("\n  \n\t" + p + "   second word\nnext line\n");
  EXPECT_EQ(d.out, Found(p, 8, 3));
  EXPECT_EQ(d.rest, "next line\n");
  EXPECT_EQ(RR[16], 7.0f);

  // The input ends right after the name, or within the rest of its line.
  EXPECT_EQ(Vvodz(p).out, Found(p, 8, 3));
  EXPECT_EQ(Vvodz(p + " tail").out, Found(p, 8, 3));

  // A name with blanks, as a file manager copies it: taken whole when a
  // file has it, quotes and trailing blanks dropped.
  std::string spaced = Fail("my data.txt", "START,9,");
  EXPECT_EQ(Vvodz("\"" + spaced + "\" \r\n").out, Found(spaced, 8, 3));
  EXPECT_EQ(RR[16], 9.0f);
}

TEST_F(VvodzTest, DefaultNameWhenTheInputEnds) {
  ScopedTempDir here(/*enter=*/true);
  write_file("data_1.txt", "START,3,");
  Dialog empty = Vvodz("");
  Dialog blank = Vvodz(" \n\n  ");
  EXPECT_EQ(empty.out, Found("data_1.txt", 8, 3));
  EXPECT_EQ(blank.out, Found("data_1.txt", 8, 3));
  EXPECT_EQ(RR[16], 3.0f);
}

TEST_F(VvodzTest, LongName) {
#ifdef _WIN32
  GTEST_SKIP() << "a name of 300 characters is beyond MAX_PATH";
#endif
  std::string sub = dir_ / std::string(120, 'a');
  ASSERT_TRUE(std::filesystem::create_directory(sub));
  sub += "/" + std::string(120, 'b');
  ASSERT_TRUE(std::filesystem::create_directory(sub));
  std::string p = sub + "/" + std::string(300 - sub.size() - 1, 'c');
  ASSERT_EQ(p.size(), 300u);
  write_file(p, "START,1,");
  Dialog d = Vvodz(p + "\n");
  EXPECT_EQ(d.out, Found(p, 8, 3));
  EXPECT_EQ(RR[16], 1.0f);
}

TEST_F(VvodzTest, NotARegularFileIsNotFound) {
#ifdef _WIN32
  // A device; Windows has no named pipes in the file system.
  std::vector<std::string> names = {dir_ / "missing.txt", dir_.path(), "NUL"};
#else
  std::string fifo = dir_ / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::vector<std::string> names = {dir_ / "missing.txt", dir_.path(), "/dev/zero", fifo};
#endif
  for (const std::string& name : names) {
    Dialog d = Vvodz(name + "\n");
    EXPECT_EQ(d.result, -1);
    EXPECT_EQ(d.out, NotFound(name));
    EXPECT_TRUE(TableUntouched()) << name;
  }
}

TEST_F(VvodzTest, TooLargeFileIsNotInterpreted) {
  std::string p = Fail("big.txt", "TCH,5,START,1," + std::string(2986, '9') + "\n");
  Dialog d = Vvodz(p + "\n");
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.out, kPrompt + p + "  файл найден\n\nФайл слишком большой\n");
  EXPECT_TRUE(TableUntouched());

  // The same without the line feed is 3000 characters exactly, and accepted.
  std::string q = Fail("full.txt", "TCH,5,START,1," + std::string(2986, '9'));
  d = Vvodz(q + "\n");
  EXPECT_EQ(d.result, 3000);
  EXPECT_EQ(d.out, Found(q, 3000, 5));
  EXPECT_EQ(RR[0], 5.0f);
}
