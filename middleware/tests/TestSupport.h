// Manager set-up shared by the tests: every test gets a fresh manager made
// from its own arguments and shut down afterwards.
#ifndef MIDDLEWARE_TESTS_TESTSUPPORT_H
#define MIDDLEWARE_TESTS_TESTSUPPORT_H

#include "RecordingComponent.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Calls Manager::init with "test" followed by args.
RTC::Manager* initManager(std::vector<std::string> args);

// Writes text to the named file of a scratch directory kept in the build
// tree and returns the file's path.
std::string writeScratchFile(const std::string& name, const std::string& text);

// Polls until done() holds; false after a generous limit.
bool eventually(const std::function<bool()>& done);

class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { clearRecordedEvents(); }
  void TearDown() override {
    if (m_manager != nullptr) {
      m_manager->shutdown();
    }
  }
  // A manager with the given options, quiet below ERROR, Recorder registered.
  RTC::Manager* start(std::vector<std::string> args = {});
  RTC::Manager* m_manager = nullptr;
};

#endif
