#pragma once

class QWidget;

namespace xr {

// Gives the keyboard focus to the first control under the container that Tab
// stops at; false when there is none.
bool focusFirstControl(QWidget *container);

// Moves the focus to the next (or previous) control under the container,
// wrapping around, so that Tab stays inside a panel that covers the rest.
bool focusNextControlInside(QWidget *container, bool next);

} // namespace xr
