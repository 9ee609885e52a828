// podbor: matched pairs of pairs from a stock of measured components.

#include "platform/konsol.h"
#include "program1/run.h"

int main(int argc, char** argv) {
  konsol_init_std();
  return run(argc, argv);
}
