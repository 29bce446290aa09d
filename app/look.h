#pragma once

namespace app {

// The program's look and language, set once before the first window is built: the classic button
// face grey of the windows, one face for every text, and the toolkit's own texts in Russian.
void applyDesktopLook();

} // namespace app
