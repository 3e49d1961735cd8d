#pragma once
// A browser key event's physical key code ("KeyZ", "ArrowLeft", ...) -> the
// game's Windows-style key code, or -1 for keys the game ignores. By physical
// position, as on the desktop, so Z X C S and the arrows sit in the same place
// on every keyboard layout.
int VirtualKeyFromCode(const char* code);

// Keys whose browser default (scrolling, moving the focus, the quick find)
// the page stops while it has the game; the rest (F5, browser shortcuts)
// keep theirs.
bool PageKeepsKey(int vk);
