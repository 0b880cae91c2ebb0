#error "platform-free code must not include <windows.h>; put Win32 code in a win/ folder"
