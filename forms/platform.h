#pragma once

#include "forms/vbtypes.h"

namespace forms {

struct MsgBoxRequest;

// What only the platform can answer. Each backend defines these; a program gets one by the
// backend library it links.
namespace platform {

// The RGB value (0x00BBGGRR) of system colour `index` (0..30) as the desktop shows it now.
OleColor systemColorRgb(int index);

// 1440 / logical dots per inch of the primary screen (15 at 96 dpi).
float twipsPerPixelX();
float twipsPerPixelY();

// The character's code in code page 1251 (ASCII passes through); -1 when it has none.
int toCp1251(char16_t ch);

// Shows an application-modal message box and returns the answer (vbOK .. vbNo).
int showMsgBox(const MsgBoxRequest& request);

} // namespace platform

} // namespace forms
