// Screen effects: the darkening hatch ("BO") and the shake ("Q").
#pragma once

struct Reader;
class Window;

void CmdHatch(Reader& r);
void CmdQuake(Reader& r, Window& window);
