// Pictures. Loading arrives with the picture decoder; until then the lines are passed.
#include "render/pictures.h"

void CmdPicture(Reader&) {}
