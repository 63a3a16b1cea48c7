// The main of the Windows test programs that need the skin engine: the
// engine is installed for the whole run, as a program's start-up installs it.
#include <gtest/gtest.h>

#include "skin/manager/skin_engine.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const skin::TSkinEngine skinEngine;
  return RUN_ALL_TESTS();
}
