#include "support/test_util.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "text/cp1251.h"
#include "text/trouble.h"

namespace {

/// Runs the executable; standard error goes to `err_path` when given, else
/// along with standard output; `redirect` may send standard output elsewhere.
RunResult RunIn(const std::string& dir, const std::string& input, const std::string& args,
                const std::string& env, const std::string& err_path,
                const std::string& redirect = "") {
  std::string in_path = dir + "/.stdin";
  write_file(in_path, input);
  // A hang shows as status 124 instead of a stuck test.
  std::string cmd = "cd '" + dir + "' && env " + env + " timeout 20 '" + PODBOR_EXE + "' " + args +
                    " < .stdin " + (err_path.empty() ? "2>&1" : "2>'" + err_path + "'") + " " +
                    redirect;
  RunResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0)
    r.out.append(buf, n);
  int st = pclose(p);
  std::remove(in_path.c_str());
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

}  // namespace

RunResult run_podbor(const std::string& dir, const std::string& input, const std::string& args,
                     const std::string& env) {
  return RunIn(dir, input, args, env, "");
}

RunResult run_podbor_split(const std::string& dir, const std::string& input,
                           const std::string& args, const std::string& env,
                           const std::string& redirect) {
  std::string err_path = dir + "/.stderr";
  RunResult r = RunIn(dir, input, args, env, err_path, redirect);
  r.err = read_file(err_path);
  std::remove(err_path.c_str());
  return r;
}

std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void write_file(const std::string& path, const std::string& content) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << content;
}

std::string make_temp_dir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/podbor_test.XXXXXX";
  char* d = mkdtemp(tmpl.data());
  return d ? std::string(d) : std::string();
}

std::string examples_dir() {
  return std::string(PODBOR_SOURCE_DIR) + "/examples";
}

ConsoleCapture::ConsoleCapture(const std::string& input) : saved(console), in_buf(input) {
  in =
      in_buf.empty() ? std::fopen("/dev/null", "rb") : fmemopen(in_buf.data(), in_buf.size(), "rb");
  out = std::tmpfile();
  err = std::tmpfile();
  console.in = in;
  console.out = Output{out, false, false};
  console.err = Output{err, false, false};
  console.pause = false;
  reset_trouble();
}

ConsoleCapture::~ConsoleCapture() {
  console = saved;
  reset_trouble();
  if (in) std::fclose(in);
  if (out) std::fclose(out);
  if (err) std::fclose(err);
}

namespace {

/// Everything written to the temporary file `f` so far; later writes append.
std::string WrittenTo(FILE* f) {
  std::fflush(f);
  std::string s;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
    s.append(buf, n);
  std::fseek(f, 0, SEEK_END);
  return s;
}

}  // namespace

std::string ConsoleCapture::text() {
  return WrittenTo(out);
}

std::string ConsoleCapture::errors() {
  return WrittenTo(err);
}

int count_of(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

std::string to_cp1251(const std::string& utf8) {
  std::string out;
  const char* p = utf8.data();
  const char* end = p + utf8.size();
  while (p < end)
    out += static_cast<char>(next_cp1251(&p, end));
  return out;
}
