#pragma once

#include <Qt>

// Key events carry the key codes and shift state of the forms runtime, which callers compare
// with its numbers (17 is Ctrl): letters 65-90 and digits 48-57 as their upper-case ASCII codes,
// Backspace 8, Tab 9, Return 13, Shift 16, Ctrl 17, Alt 18, Pause 19, Caps Lock 20, Escape 27,
// Space 32, Page Up 33, Page Down 34, End 35, Home 36, the arrows 37-40 (left, up, right, down),
// Insert 45, Delete 46, F1-F24 112-135, Num Lock 144, Scroll Lock 145. Any other key is 0.
namespace platform::grid {

int keyCodeOf(int qtKey);

// The shift state: 1 Shift, 2 Ctrl, 4 Alt, added together.
int shiftStateOf(Qt::KeyboardModifiers modifiers);

} // namespace platform::grid
