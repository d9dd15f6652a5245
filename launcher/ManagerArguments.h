// What a program that starts a middleware manager makes of its command
// line before the manager sees it. The options are the manager's own:
// -f FILE, -o KEY:VALUE and, where the program runs a component for other
// programs to reach, -a (no CORBA servant), -d (master manager) and
// -p PORT. They are checked here, so that a wrong option or an unreadable
// file gets the same answer on every middleware series (which otherwise
// ignore unknown options and answer a missing file differently).
#ifndef STROLVEX_LAUNCHER_MANAGERARGUMENTS_H
#define STROLVEX_LAUNCHER_MANAGERARGUMENTS_H

#include <string>
#include <vector>

class ManagerArguments {
 public:
  enum Servant { kNoServantOptions, kServantOptions };

  // False with error set when an option is unknown, lacks its value, or
  // the -f file cannot be read. "-h" and "--help" set helpWanted().
  bool parse(const std::vector<std::string>& args, Servant servant, std::string& error);

  bool helpWanted() const { return m_help; }
  // The arguments that are no options, in their order.
  const std::vector<std::string>& operands() const { return m_operands; }

  // The value key will have in the manager's configuration: the last -o
  // for it, else the configuration file's (the -f file, else the first
  // the manager finds: $RTC_MANAGER_CONFIG, ./rtc.conf, /etc/rtc.conf,
  // /etc/rtc/rtc.conf, /usr/local/etc/rtc.conf, /usr/local/etc/rtc/rtc.conf).
  // Empty when none sets it.
  std::string configured(const std::string& key) const;
  bool isConfigured(const std::string& key) const;

  // Sets key for the manager, over the file and the user's options.
  void set(const std::string& key, const std::string& value);
  // Gives key the value unless the user's configuration sets it.
  void setDefault(const std::string& key, const std::string& value);

  // The manager's command line: program, the user's options, then the
  // settings made here. The pointers stay valid while this object lives
  // and is not changed.
  std::vector<char*> managerArgv(const std::string& program);

 private:
  struct Setting {
    std::string key;
    std::string value;
  };
  const Setting* find(const std::string& key) const;

  bool m_help = false;
  std::vector<std::string> m_options;   // the user's, for the manager
  std::vector<Setting> m_overrides;      // -o, in order
  std::vector<Setting> m_fileSettings;   // the configuration file's
  std::vector<Setting> m_ours;           // set() and setDefault()
  std::vector<std::string> m_operands;
  std::vector<std::string> m_argvStorage;
};

#endif
