// podbor: matched pairs of pairs from a stock of measured components.

#include <string>
#include <vector>

#include "platform/platform.h"
#include "program1/run.h"
#include "text/console.h"

int main(int argc, char** argv) {
  console_init_std();
  handle_signals();
  std::vector<std::string> args = program_arguments(argc, argv);
  std::vector<const char*> arg_ptrs;
  arg_ptrs.reserve(args.size() + 1);
  for (const std::string& a : args)
    arg_ptrs.push_back(a.c_str());
  arg_ptrs.push_back(nullptr);
  return run(argc, arg_ptrs.data());
}
