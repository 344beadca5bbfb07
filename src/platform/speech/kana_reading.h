// Japanese text as it is pronounced, in katakana, made with MeCab and its system
// dictionary: for a voice that reads kana but names every kanji (eSpeak NG's
// Japanese says "Chinese letter" for each). libmecab is loaded with dlopen at its
// first use, so a reader who never needs it maps nothing of it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/error_or.h"

class KanaReading {
 public:
  // MeCab with the dictionary that its configuration names, or why it cannot be had.
  static ErrorOr<std::unique_ptr<KanaReading>, std::string> Load();
  ~KanaReading();
  KanaReading(const KanaReading&) = delete;
  KanaReading& operator=(const KanaReading&) = delete;

  // The text with each word as the dictionary pronounces it; a word that it does not
  // know (a name, a letter, a sign) stays as written.
  std::string Of(std::string_view text_utf8);

 private:
  struct Calls;
  KanaReading(std::unique_ptr<const Calls> calls, void* tagger);

  std::unique_ptr<const Calls> calls_;
  void* tagger_;  // the mecab_t
};
