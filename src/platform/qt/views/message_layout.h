#pragma once

// The layout our own message windows share (welcome, no-tray notice, user
// notice): the icon beside the text, the buttons in a row below.

class QBoxLayout;
class QLayout;
class QWidget;

namespace tamsel::qt {

// Lays out window as icon | text over buttons, at a fixed size; margin and
// spacing in pixels.
void layOutMessage(QWidget* window, QWidget* icon, QLayout* text, QBoxLayout* buttons, int margin,
                   int spacing);

// Sizes the window and centres it on the primary screen: without a window
// manager nobody else would.
void centreOnPrimaryScreen(QWidget* window);

}  // namespace tamsel::qt
