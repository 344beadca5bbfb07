// The interpreter: one call of RunScript is one step of the reader, from
// CurrentLine to the next pause, choice list, stop or end of the script.
#pragma once

struct Reader;
class Window;

void RunScript(Reader& r, Window& window);
