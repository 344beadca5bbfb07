// Display modes and screen metrics: EnumDisplaySettingsA, ChangeDisplaySettingsA
// and GetSystemMetrics over what the backend's display offers.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

class Platform;

// The part of the display-mode record that the reader reads or hands back.
struct DEVMODEA {
  DWORD dmBitsPerPel = 0;
  DWORD dmPelsWidth = 0;
  DWORD dmPelsHeight = 0;
  DWORD dmDisplayFrequency = 0;
};

constexpr long DISP_CHANGE_SUCCESSFUL = 0;
constexpr long DISP_CHANGE_RESTART = 1;
constexpr long DISP_CHANGE_FAILED = -1;
constexpr long DISP_CHANGE_BADMODE = -2;

// Fills mode with the display mode of that index; false when there is none.
bool EnumDisplaySettingsA(Platform& platform, const char* device_name, DWORD index, DEVMODEA* mode);
// Switches to mode for this run of the program; a null mode restores the stored one.
long ChangeDisplaySettingsA(Platform& platform, const DEVMODEA* mode, DWORD flags);
int GetSystemMetrics(Platform& platform, int index);
