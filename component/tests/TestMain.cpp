// The main of every test program that drives components: the tests, then
// an orderly stop of the manager they shared.
#include <gtest/gtest.h>

#include "component/tests/TestRuntime.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  testrt::prepareTests();
  const int result = RUN_ALL_TESTS();
  testrt::stopManager();
  return result;
}
