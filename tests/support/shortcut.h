// Making a shortcut file for the tests through the shell-link object.
#ifndef ZENTOR_SHORTCUT_H
#define ZENTOR_SHORTCUT_H

#include <windows.h>

#include <string>

// Saves a shortcut at linkPath to target; true when it was saved.
bool makeShortcut(const std::string& linkPath, const std::string& target,
                  const std::string& arguments = "", const std::string& directory = "",
                  int show = SW_SHOWNORMAL);

#endif
