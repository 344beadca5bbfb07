// The two forms of the findings. Texts are UTF-8; JSON escapes only what it must.
#include "check/findings_output.h"

#include <cstdio>
#include <string>

namespace {

const char* KindName(Severity severity) {
  return severity == Severity::Error ? "error" : "warning";
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace

void WriteFindingsText(const std::vector<Finding>& findings, std::ostream& out) {
  for (const Finding& finding : findings) {
    out << finding.file;
    if (finding.line > 0) out << ':' << finding.line;
    out << ": " << KindName(finding.severity) << ": " << finding.message << '\n';
  }
}

void WriteFindingsJson(const std::vector<Finding>& findings, std::ostream& out) {
  out << '[';
  for (std::size_t k = 0; k < findings.size(); ++k) {
    const Finding& finding = findings[k];
    out << (k == 0 ? "\n" : ",\n") << "  {\"file\": " << JsonString(finding.file)
        << ", \"line\": " << finding.line << ", \"kind\": \"" << KindName(finding.severity)
        << "\", \"message\": " << JsonString(finding.message) << '}';
  }
  out << (findings.empty() ? "]\n" : "\n]\n");
}
