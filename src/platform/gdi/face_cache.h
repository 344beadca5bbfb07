// fontconfig's answer for the Mincho face, remembered in the reader's cache folder
// ($XDG_CACHE_HOME/yomu/mincho-face) with the face file's size and modification
// time, so that later starts open the face without setting fontconfig up.
#pragma once

#include <optional>
#include <string>

struct FaceLocation {
  std::string path;
  long index = 0;  // of the face within a font collection file
};

// Where the answer is kept; nothing when there is no cache folder.
std::optional<std::string> FaceCacheFile();

// The face remembered in cache_file, if its file still has the size and time it had.
std::optional<FaceLocation> RememberedFace(const std::string& cache_file);
// Remembers face in cache_file, making its folder; a failure leaves things as they were.
void RememberFace(const std::string& cache_file, const FaceLocation& face);
// Forgets the face remembered in cache_file.
void ForgetFace(const std::string& cache_file);
