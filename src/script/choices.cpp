// Choices. The list arrives with the choice handling; until then a "SET" line only
// stops the step.
#include "script/choices.h"

void ShowChoices(Reader&) {}
void HighlightChoice(Reader&, Window&, int) {}
void TrackChoiceHover(Reader&, Window&, int) {}
void SelectChoice(Reader&, int, Window&) {}
