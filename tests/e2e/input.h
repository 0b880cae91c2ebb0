#pragma once
// Real input for the program under test, through SendInput: the pointer, its buttons, the wheel
// and keys, as a user would give them.

#include <windows.h>

#include <string>

namespace e2e {

void MovePointer(int x, int y);
void PressButton(int x, int y, DWORD downFlag);  // MOUSEEVENTF_LEFTDOWN ...
void ReleaseButton(int x, int y, DWORD upFlag);  // MOUSEEVENTF_LEFTUP ...
void Click(int x, int y, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
void DoubleClick(int x, int y);
// Presses the left button at one point and moves in steps to another, keeping it down.
void DragWithoutRelease(int fromX, int fromY, int toX, int toY, int steps = 4);
// Presses the left button at one point, moves in steps to another and releases there.
void Drag(int fromX, int fromY, int toX, int toY, int steps = 8);
void Wheel(int x, int y, int clicks);  // positive: away from the user (up)
void PressKey(WORD virtualKey, bool withCtrl = false);
// Types the characters as they are (whatever the keyboard layout), into the focused window.
void TypeText(const std::wstring& text);
// Holds a key down, or lets it go (Ctrl for a Ctrl+click).
void HoldKey(WORD virtualKey, bool down);
// Lets the program under test handle what was sent.
void Settle(int milliseconds = 150);

}  // namespace e2e
