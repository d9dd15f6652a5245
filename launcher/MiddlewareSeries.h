// What a program hands its manager so that it behaves alike on every
// middleware series.
#ifndef STROLVEX_LAUNCHER_MIDDLEWARESERIES_H
#define STROLVEX_LAUNCHER_MIDDLEWARESERIES_H

#include <string>

#include "launcher/ManagerArguments.h"

// Log lines go to standard error unless the configuration says otherwise
// (the middleware's default is a file ./rtc<pid>.log); with the 1.1
// series, whose manager reads connections in a form of its own, the
// configured preconnect entries are handed over in that form.
void fitToMiddleware(ManagerArguments& arguments);

// "A0.out?port=B0.in&key=value" entries in the 1.1 form
// "A0.out:B0.in(key=value)" (1.1 needs at least one key); entries that are
// not in the first form stay as they are.
std::string preconnectInOneOneForm(const std::string& entries);

#endif
