#pragma once

#include <string>

namespace forms {

// The application's version numbers, from the build's version (App.Major, .Minor, .Revision).
int AppMajor();
int AppMinor();
int AppRevision();
// The application's name (App.Title): the title of its error boxes.
std::u16string AppTitle();

} // namespace forms
