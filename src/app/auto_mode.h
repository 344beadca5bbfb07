// Auto mode: the reader reads on by itself, a while after each paragraph has
// appeared; choices, the end, a click or a key stop it.
#pragma once

#include <cstdint>
#include <string_view>

struct Reader;
class Window;

void ToggleAutoMode(Reader& r, Window& window);
void StopAutoMode(Reader& r, Window& window);
void OnAutoTick(Reader& r, Window& window);

// The wait after a paragraph: the delay, then AUTO_MS_PER_WIDE_CHARACTER for each
// double-byte character.
constexpr std::uint32_t AUTO_MS_PER_WIDE_CHARACTER = 60;
std::uint32_t AutoWaitMs(std::uint32_t delay_ms, std::string_view paragraph_sjis);
