// The page's text beside the page, for learners' tools and for ears: each paragraph
// as it appears goes to the text output, the text feed and speech; each choice list
// to the feed and speech; the choice under the highlight to speech. Said here once,
// so that every outlet carries the same text.
#pragma once

#include <string_view>

struct Reader;

// A script line as it is drawn; a blank line is no paragraph and goes nowhere. The
// paragraph is kept in the history of what was read and marked read, too
// (same_lines_before: as RecordParagraph takes it).
void PassOnParagraph(Reader& r, std::string_view line_sjis, int same_lines_before);
// The choices just drawn, as the page shows them with the digits of their keys: one
// frame each on the feed, and each said in its turn.
void PassOnChoices(Reader& r);
// The newest paragraph read, said again (when speech comes on).
void RepeatNewestParagraph(Reader& r);
// The choice that the highlight moved to.
void PassOnHighlightedChoice(Reader& r, int index);
