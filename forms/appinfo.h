#pragma once

namespace forms {

// The application's version numbers, from the build's version (App.Major, .Minor, .Revision).
int AppMajor();
int AppMinor();
int AppRevision();

} // namespace forms
