// The Mincho face remembered between starts: used while its file is unchanged, so that
// fontconfig is not set up, and forgotten when the file changes.
#include "platform/gdi/face_cache.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

TEST(FaceCache, RemembersTheFaceUntilItsFileChanges) {
  Novel folder;
  folder.WriteBytes("face.ttf", "not really a face");
  const std::string cache = folder.File("cache/yomu/mincho-face");
  RememberFace(cache, {folder.File("face.ttf"), 2});
  const std::optional<FaceLocation> remembered = RememberedFace(cache);
  ASSERT_TRUE(remembered.has_value());
  EXPECT_EQ(remembered->path, folder.File("face.ttf"));
  EXPECT_EQ(remembered->index, 2);

  // The engine takes the remembered face as it is: fontconfig never looked.
  const std::string saved = getenv("XDG_CACHE_HOME");
  setenv("XDG_CACHE_HOME", folder.File("cache").c_str(), 1);
  ShiftJis shift_jis;
  EXPECT_EQ(FontEngine(shift_jis).face_path(), folder.File("face.ttf"));
  setenv("XDG_CACHE_HOME", saved.c_str(), 1);

  std::ofstream(folder.File("face.ttf"), std::ios::app) << "grown";
  EXPECT_FALSE(RememberedFace(cache).has_value());
  for (const char* text : {"", "/a\n", "/a\nx\n1\n2\n", "/a\n-1\n1\n2\n"}) {
    folder.WriteBytes("cache/yomu/mincho-face", text);
    EXPECT_FALSE(RememberedFace(cache).has_value()) << text;
  }
}

}  // namespace
