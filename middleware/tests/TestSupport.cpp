#include "TestSupport.h"

#include <chrono>
#include <fstream>
#include <thread>

RTC::Manager* initManager(std::vector<std::string> args) {
  args.insert(args.begin(), "test");
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(&arg[0]);
  }
  argv.push_back(nullptr);
  return RTC::Manager::init(static_cast<int>(args.size()), argv.data());
}

std::string writeScratchFile(const std::string& name, const std::string& text) {
  const std::string path = std::string(TEST_SCRATCH_DIR) + "/" + name;
  std::ofstream(path) << text;
  return path;
}

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 5000 && !done(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

RTC::Manager* ManagerTest::start(std::vector<std::string> args) {
  args.insert(args.begin(), {"-o", "logger.log_level:ERROR"});
  m_manager = initManager(args);
  registerRecorder(m_manager);
  return m_manager;
}
