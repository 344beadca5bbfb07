// The file name of a screenshot: the novel's title, made fit for a file name, and the
// time it was taken.
#pragma once

#include <cstddef>
#include <string>

// The title with what file names cannot hold replaced by "_": "/" and control bytes,
// and "\", ":", "*", "?", '"', "<", ">" and "|", which the file systems of other
// machines refuse (the pictures may lie on a stick). Blanks at either end go, and so
// does a leading "." that would hide the file.
std::string FileNameOfTitle(const std::string& title_utf8);

// TITLE-STAMP, the title cut at a character's boundary so that the stem, a number and
// ".png" (NEW_PNG_NAME_ENDING) keep within name_max bytes; STAMP alone when no title is left.
std::string ScreenshotStem(const std::string& title_utf8, const std::string& stamp,
                           std::size_t name_max);
