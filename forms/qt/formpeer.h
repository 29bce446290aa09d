#pragma once

#include "forms/form.h"
#include "forms/menu.h"
#include "forms/qt/widgetpeer.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>

// The Qt backend's top-level windows: a QMainWindow whose central widget is the form's client
// area, with the menu bar above it.
namespace forms::qt {

// For the backend's own code and for tests.
QMainWindow* windowOf(const Form& form);
QMenu* menuOf(const Menu& menu);
QAction* actionOf(const MenuItem& item);

// The key sequence of a shortcut (virtual-key code and modifiers).
QKeySequence keySequenceOf(Shortcut shortcut);

} // namespace forms::qt
