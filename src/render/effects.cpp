// Screen effects. They arrive with the pictures; until then the lines are passed.
#include "render/effects.h"

void CmdHatch(Reader&) {}
void CmdQuake(Reader&, Window&) {}
