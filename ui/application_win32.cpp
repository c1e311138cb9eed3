#include "ui/application_win32.h"

HINSTANCE appInstance = nullptr;
HWND lastDialog = nullptr;
