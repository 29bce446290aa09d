#pragma once

namespace forms {

// Processes the application's pending events; callers guard `this` with QPointer afterwards.
void DoEvents();

} // namespace forms
