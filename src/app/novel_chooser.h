// Started without a novel, in a folder that holds no first script (as from the
// desktop's menu), the reader asks for one with the desktop's own chooser; the
// novels opened last are offered first. The novels opened are remembered for it.
#pragma once

#include <optional>
#include <string>

class Volume;

// True when the novel's first script is there.
bool HoldsFirstScript(Volume& volume);
// The novel chosen: a folder or an archive; a file of a novel's folder (its first
// script, say) stands for the folder. Nothing when no chooser is there or the reader
// cancels.
std::optional<std::string> ChooseNovel();
// Puts an opened novel first among those opened last; one line when it cannot.
void RememberOpenedNovel(Volume& volume);
