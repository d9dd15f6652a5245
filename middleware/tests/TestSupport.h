// Manager set-up shared by the tests: every test gets a fresh manager made
// from its own arguments and shut down afterwards.
#ifndef MIDDLEWARE_TESTS_TESTSUPPORT_H
#define MIDDLEWARE_TESTS_TESTSUPPORT_H

#include <rtm/Manager.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Calls Manager::init with "test" followed by args.
RTC::Manager* initManager(std::vector<std::string> args);

// A directory of its own under /tmp, removed with its files at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return m_path; }
  // Writes text to the named file and returns its full path.
  std::string write(const std::string& name, const std::string& text) const;

 private:
  std::string m_path;
  mutable std::vector<std::string> m_files;
};

// Polls until done() holds; false after a generous limit.
bool eventually(const std::function<bool()>& done);

class ManagerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A manager with the given options, quiet below ERROR, Recorder registered.
  RTC::Manager* start(std::vector<std::string> args = {});
  RTC::Manager* m_manager = nullptr;
};

#endif
