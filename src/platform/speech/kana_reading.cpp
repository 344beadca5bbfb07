// MeCab through its C calls: each node's surface replaced by the pronunciation that
// the dictionary's features give (IPADIC's ninth field, 発音; else its reading).
#include "platform/speech/kana_reading.h"

#include <mecab.h>

#include "platform/loaded_library.h"
#include "platform/translation.h"

namespace {

constexpr char LIBRARY_FILE[] = "libmecab.so.2";
constexpr int READING_FIELD = 7;        // 読み
constexpr int PRONUNCIATION_FIELD = 8;  // 発音

// Field k of a node's comma-separated features; empty when it has none or "*".
std::string_view Field(std::string_view features, int k) {
  for (int field = 0; field < k; ++field) {
    const std::size_t comma = features.find(',');
    if (comma == std::string_view::npos) return {};
    features.remove_prefix(comma + 1);
  }
  features = features.substr(0, features.find(','));
  return features == "*" ? std::string_view() : features;
}

}  // namespace

struct KanaReading::Calls {
  decltype(&mecab_new2) open = nullptr;
  decltype(&mecab_strerror) error = nullptr;
  decltype(&mecab_sparse_tonode2) parse = nullptr;
  decltype(&mecab_destroy) close = nullptr;
};

ErrorOr<std::unique_ptr<KanaReading>, std::string> KanaReading::Load() {
  const ErrorOr<LoadedLibrary, std::string> library = LoadedLibrary::Load(LIBRARY_FILE);
  if (!library) return library.error();
  auto calls = std::make_unique<Calls>();
  for (const auto& [name, found] :
       {std::pair{"mecab_new2", library->Find("mecab_new2", calls->open)},
        std::pair{"mecab_strerror", library->Find("mecab_strerror", calls->error)},
        std::pair{"mecab_sparse_tonode2", library->Find("mecab_sparse_tonode2", calls->parse)},
        std::pair{"mecab_destroy", library->Find("mecab_destroy", calls->close)}}) {
    if (!found) return library->Lacks(name);
  }
  mecab_t* tagger = calls->open("");
  if (tagger == nullptr) {
    const char* reason = calls->error(nullptr);
    return Formatted(_("MeCab has no dictionary (%s)"), reason != nullptr ? reason : "");
  }
  return std::unique_ptr<KanaReading>(new KanaReading(std::move(calls), tagger));
}

KanaReading::KanaReading(std::unique_ptr<const Calls> calls, void* tagger)
    : calls_(std::move(calls)), tagger_(tagger) {}

KanaReading::~KanaReading() { calls_->close(static_cast<mecab_t*>(tagger_)); }

std::string KanaReading::Of(std::string_view text_utf8) {
  std::string kana;
  const mecab_node_t* node =
      calls_->parse(static_cast<mecab_t*>(tagger_), text_utf8.data(), text_utf8.size());
  for (; node != nullptr; node = node->next) {
    if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
    const std::string_view surface(node->surface, node->length);
    // The blanks before a word stay: MeCab counts them in rlength, not in the surface.
    const std::size_t blanks = node->rlength > node->length ? node->rlength - node->length : 0;
    kana.append(node->surface - blanks, blanks);
    std::string_view said =
        node->feature != nullptr ? Field(node->feature, PRONUNCIATION_FIELD) : std::string_view();
    if (said.empty() && node->feature != nullptr) said = Field(node->feature, READING_FIELD);
    kana.append(said.empty() ? surface : said);
  }
  return kana;
}
