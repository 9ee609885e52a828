// podbor: matched pairs of pairs from a stock of measured components.

#include "platform/platform.h"
#include "program1/run.h"
#include "text/console.h"

int main(int argc, char** argv) {
  console_init_std();
  handle_signals();
  return run(argc, argv);
}
