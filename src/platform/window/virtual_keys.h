// Win32 virtual-key codes by the key names both backends speak (SDL's names).
#pragma once

#include <optional>
#include <string>

std::optional<int> VirtualKeyFromName(const std::string& name);
