#include "TestSupport.h"

#include "RecordingComponent.h"

#include <chrono>
#include <fstream>
#include <thread>
#include <unistd.h>

RTC::Manager* initManager(std::vector<std::string> args) {
  args.insert(args.begin(), "test");
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(&arg[0]);
  }
  argv.push_back(nullptr);
  return RTC::Manager::init(static_cast<int>(args.size()), argv.data());
}

TempDir::TempDir() {
  char pattern[] = "/tmp/middleware_tests.XXXXXX";
  m_path = mkdtemp(pattern);
}

TempDir::~TempDir() {
  for (const std::string& file : m_files) {
    unlink(file.c_str());
  }
  rmdir(m_path.c_str());
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
  const std::string file = m_path + "/" + name;
  std::ofstream(file) << text;
  m_files.push_back(file);
  return file;
}

bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 5000; ++i) {
    if (done()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

void ManagerTest::SetUp() { clearRecordedEvents(); }

void ManagerTest::TearDown() {
  if (m_manager != nullptr) {
    m_manager->shutdown();
  }
}

RTC::Manager* ManagerTest::start(std::vector<std::string> args) {
  args.insert(args.begin(), {"-o", "logger.log_level:ERROR"});
  m_manager = initManager(args);
  registerRecorder(m_manager);
  return m_manager;
}
