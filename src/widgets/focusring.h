#pragma once

class QWidget;

// Shows which button has the keyboard: a ring drawn over the button after it has painted
// itself (pictures and style sheets leave no room for the style's own focus frame). Only
// focus that came from the keyboard shows it; a click gives focus too but needs no ring.
void showKeyboardFocus(QWidget *widget);
