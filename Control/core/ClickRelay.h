#pragma once

#include <functional>

class QWidget;

namespace pelmora {

// Gives a widget without click signals (the caption label) the clicks of the forms runtime:
// a left-button press and release over it is a click, a double click is a click (its first
// press) and then a double click; the release that ends a double click is nothing. The widget
// keeps those mouse events to itself. The relay lives as long as the widget.
void relayClicks(QWidget *widget, std::function<void()> click, std::function<void()> doubleClick);

} // namespace pelmora
