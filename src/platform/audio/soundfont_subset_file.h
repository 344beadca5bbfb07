// FluidSynth reads a cut-down soundfont through file callbacks of its own loader:
// the subset's bytes come partly from the soundfont file and partly from memory.
// FluidSynth opens a soundfont again, by name, whenever it loads samples on
// demand, and its callbacks take nothing but that name, so the name carries the
// subset's address; only names made here are ever given to this loader.
#pragma once

#include <fluidsynth.h>

#include <string>

#include "platform/audio/soundfont_subset.h"

// Adds to the synthesizer a loader that reads the subsets named by SubsetFileName,
// tried before the library's own loaders, which it leaves for every other name.
bool AddSubsetLoader(fluid_synth_t* synth, fluid_settings_t* settings);

// The name under which the loader reads `subset`, which must outlive the soundfont
// loaded from it.
std::string SubsetFileName(const SoundFontSubset& subset);
