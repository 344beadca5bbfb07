// The novel that the reader is asked to open: a folder, or an archive file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/volume.h"

struct OpenedNovel {
  std::unique_ptr<Volume> volume;
  std::vector<std::string> notes;  // what the reader should know about an archive
};

// The novel at path, whose first script is first_script_sjis; the reason, in one
// line, when path is neither a folder nor an archive that can be read.
ErrorOr<OpenedNovel, std::string> OpenNovel(const std::string& path,
                                            std::string_view first_script_sjis);
