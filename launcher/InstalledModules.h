// Where an installed program finds the modules installed with it. The
// configuration files installed with the programs name no module folder:
// they cannot know the prefix the project is installed under, and the
// folder must not depend on the current directory. So the program adds the
// folder that lies at a fixed relative path from its own.
#ifndef STROLVEX_LAUNCHER_INSTALLEDMODULES_H
#define STROLVEX_LAUNCHER_INSTALLEDMODULES_H

#include <string>

#include "launcher/ManagerArguments.h"

// Appends folder to manager.modules.load_path when it is a directory. What
// the user's configuration gives stays first, so that a build tree's
// relative paths keep working. The middleware's own "./" is not kept when
// nothing sets the path: a real manager searches it through every folder
// below, which from / never ends.
void addModuleFolder(ManagerArguments& arguments, const std::string& folder);

// addModuleFolder with the installed module folder of the running program
// (found through /proc/self/exe); nothing when the program runs from a
// build tree, which has no such folder.
void addInstalledModuleFolder(ManagerArguments& arguments);

#endif
