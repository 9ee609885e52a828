// podbor: matched pairs of pairs from a stock of measured components.

#include "program1/run.h"
#include "text/console.h"

int main(int argc, char** argv) {
  console_init_std();
  return run(argc, argv);
}
