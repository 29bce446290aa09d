#pragma once

namespace forms {

// Loads the toolkit's own Russian translation (context menus of the text boxes, standard dialog
// texts), so that every text a user reads is Russian. False when the translation is not installed;
// the program then runs with the toolkit's English texts.
bool installRussianTranslation();

} // namespace forms
