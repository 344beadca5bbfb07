// The messages' catalogues.
#include "platform/translation.h"

#include <clocale>
#include <filesystem>
#include <string>

#include "platform/program_directory.h"

#ifndef YOMU_LOCALE_DIR
#define YOMU_LOCALE_DIR "../share/locale"
#endif

namespace {

constexpr char DOMAIN[] = "yomu";

std::string CatalogueFolder() {
  const std::string program = ProgramDirectory();
  std::error_code error;
  if (std::filesystem::is_directory(program + "/locale", error)) return program + "/locale";
  const std::string installed(YOMU_LOCALE_DIR);
  return installed.starts_with('/') ? installed : program + "/" + installed;
}

}  // namespace

void StartTranslation() {
  std::setlocale(LC_MESSAGES, "");
  bindtextdomain(DOMAIN, CatalogueFolder().c_str());
  // Whatever the character type of the locale, the messages come as UTF-8, which the
  // reader writes and converts.
  bind_textdomain_codeset(DOMAIN, "UTF-8");
  textdomain(DOMAIN);
}

void StopTranslation() { std::setlocale(LC_MESSAGES, "C"); }
