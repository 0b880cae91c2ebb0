#include "input.h"

namespace e2e {
namespace {

void SendMouse(int x, int y, DWORD flags, DWORD data = 0) {
  // Absolute coordinates are given in 0..65535 across the primary screen, or across the whole
  // virtual screen with MOUSEEVENTF_VIRTUALDESK, which reaches monitors left of or above it.
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(x - left, 65536, width) + (x >= left ? 1 : -1);
  input.mi.dy = MulDiv(y - top, 65536, height) + (y >= top ? 1 : -1);
  input.mi.mouseData = data;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &input, sizeof input);
  SetCursorPos(x, y);
}

}  // namespace

void Settle(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void MovePointer(int x, int y) {
  SendMouse(x, y, 0);
  Settle(30);
}

void PressButton(int x, int y, DWORD downFlag) {
  SendMouse(x, y, downFlag);
  Settle(50);
}

void ReleaseButton(int x, int y, DWORD upFlag) {
  SendMouse(x, y, upFlag);
  Settle(50);
}

void Click(int x, int y, DWORD downFlag, DWORD upFlag) {
  MovePointer(x, y);
  PressButton(x, y, downFlag);
  ReleaseButton(x, y, upFlag);
}

void DoubleClick(int x, int y) {
  MovePointer(x, y);
  SendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
  SendMouse(x, y, MOUSEEVENTF_LEFTUP);
  SendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
  SendMouse(x, y, MOUSEEVENTF_LEFTUP);
  Settle(100);
}

void DragWithoutRelease(int fromX, int fromY, int toX, int toY, int steps) {
  MovePointer(fromX, fromY);
  PressButton(fromX, fromY, MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= steps; ++i) {
    MovePointer(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
  }
}

void Drag(int fromX, int fromY, int toX, int toY, int steps) {
  DragWithoutRelease(fromX, fromY, toX, toY, steps);
  ReleaseButton(toX, toY, MOUSEEVENTF_LEFTUP);
}

void Wheel(int x, int y, int clicks) {
  MovePointer(x, y);
  SendMouse(x, y, MOUSEEVENTF_WHEEL, static_cast<DWORD>(clicks * WHEEL_DELTA));
  Settle(100);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2]{};
    for (int i = 0; i < 2; ++i) {
      inputs[i].type = INPUT_KEYBOARD;
      inputs[i].ki.wScan = c;
      inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, inputs, sizeof(INPUT));
    Settle(30);
  }
  Settle(100);
}

void HoldKey(WORD virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
  Settle(50);
}

void PressKey(WORD virtualKey, bool withCtrl) {
  INPUT inputs[4]{};
  int count = 0;
  auto key = [&](WORD vk, bool up) {
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = vk;
    inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ++count;
  };
  if (withCtrl) key(VK_CONTROL, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (withCtrl) key(VK_CONTROL, true);
  SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT));
  Settle(100);
}

}  // namespace e2e
