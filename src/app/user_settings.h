// The reader's settings file as the reading aids use it: read once at the start,
// written whole when a setting changes.
#pragma once

struct Reader;

// Reads the settings; one line when the file is there but broken, which is then
// neither used nor written over.
void LoadUserSettings(Reader& r);
// Writes the settings; one line when they cannot be kept.
void SaveUserSettings(Reader& r);
