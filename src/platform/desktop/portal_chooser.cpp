// The file chooser portal: OpenFile on org.freedesktop.portal.FileChooser returns a
// request object at once, whose Response signal brings the choice once it is made.
// The signal is listened for before the call, at the path that the request will
// have, so that an answer cannot come before the listening.
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/file_chooser.h"

namespace {

constexpr char PORTAL_SERVICE[] = "org.freedesktop.portal.Desktop";
constexpr char PORTAL_PATH[] = "/org/freedesktop/portal/desktop";
constexpr char CHOOSER_INTERFACE[] = "org.freedesktop.portal.FileChooser";
constexpr char REQUEST_INTERFACE[] = "org.freedesktop.portal.Request";
constexpr std::uint32_t RESPONSE_CHOSEN = 0;
constexpr std::uint32_t RESPONSE_ENDED = 2;
constexpr std::uint32_t GLOB = 0;  // a filter's pattern kind

struct BusCloser {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct SlotUnref {
  void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using Bus = std::unique_ptr<sd_bus, BusCloser>;
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;
using Slot = std::unique_ptr<sd_bus_slot, SlotUnref>;

// The path that the portal gives the request: the caller's unique name without its
// colon, dots as underscores, and the token.
std::string RequestPath(std::string_view unique_name, const std::string& token) {
  std::string sender(unique_name.substr(unique_name.starts_with(':') ? 1 : 0));
  for (char& c : sender) c = c == '.' ? '_' : c;
  return std::string(PORTAL_PATH) + "/request/" + sender + "/" + token;
}

std::string NewToken() {
  static std::atomic<unsigned> count{0};
  return "yomu" + std::to_string(getpid()) + "_" + std::to_string(++count);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

// The path of a file: URI; empty for any other.
std::string PathOfUri(std::string_view uri) {
  constexpr std::string_view FILE_SCHEME = "file://";
  if (!uri.starts_with(FILE_SCHEME)) return {};
  uri.remove_prefix(FILE_SCHEME.size());
  std::string path;
  for (std::size_t k = 0; k < uri.size(); ++k) {
    const int high = k + 2 < uri.size() && uri[k] == '%' ? HexDigit(uri[k + 1]) : -1;
    const int low = high >= 0 ? HexDigit(uri[k + 2]) : -1;
    if (low >= 0) {
      path += static_cast<char>(high * 16 + low);
      k += 2;
    } else {
      path += uri[k];
    }
  }
  return path.starts_with('/') ? path : std::string();
}

// filters a(sa(us)): one filter of globs; current_folder ay: the first recent
// novel's folder, NUL-ended.
int AppendOptions(sd_bus_message* call, const ChooserRequest& request, const std::string& token) {
  int r = sd_bus_message_open_container(call, 'a', "{sv}");
  if (r >= 0) r = sd_bus_message_append(call, "{sv}", "handle_token", "s", token.c_str());
  if (r >= 0) r = sd_bus_message_append(call, "{sv}", "modal", "b", 1);
  if (r >= 0) r = sd_bus_message_open_container(call, 'e', "sv");
  if (r >= 0) r = sd_bus_message_append(call, "s", "filters");
  if (r >= 0) r = sd_bus_message_open_container(call, 'v', "a(sa(us))");
  if (r >= 0) r = sd_bus_message_open_container(call, 'a', "(sa(us))");
  if (r >= 0) r = sd_bus_message_open_container(call, 'r', "sa(us)");
  if (r >= 0) r = sd_bus_message_append(call, "s", request.filter_name_utf8.c_str());
  if (r >= 0) r = sd_bus_message_open_container(call, 'a', "(us)");
  for (const std::string& pattern : request.patterns) {
    if (r >= 0) r = sd_bus_message_append(call, "(us)", GLOB, pattern.c_str());
  }
  for (int level = 0; level < 5; ++level) {  // a(us), r, a(sa(us)), v, e
    if (r >= 0) r = sd_bus_message_close_container(call);
  }
  if (r >= 0 && !request.recent.empty()) {
    const std::string& last = request.recent.front().path;
    const std::string folder = last.substr(0, std::max<std::size_t>(1, last.rfind('/')));
    r = sd_bus_message_open_container(call, 'e', "sv");
    if (r >= 0) r = sd_bus_message_append(call, "s", "current_folder");
    if (r >= 0) r = sd_bus_message_open_container(call, 'v', "ay");
    if (r >= 0) r = sd_bus_message_append_array(call, 'y', folder.c_str(), folder.size() + 1);
    if (r >= 0) r = sd_bus_message_close_container(call);
    if (r >= 0) r = sd_bus_message_close_container(call);
  }
  if (r >= 0) r = sd_bus_message_close_container(call);
  return r;
}

// The Response signal: u response, a{sv} results, whose "uris" (as) names the file.
int OnResponse(sd_bus_message* signal, void* userdata, sd_bus_error*) {
  auto& answer = *static_cast<std::optional<ChooserAnswer>*>(userdata);
  // Cancelled, or ended otherwise (the chooser closed with its session): no novel.
  std::uint32_t response = RESPONSE_ENDED;
  answer = ChooserAnswer{ChooserAnswer::Kind::Cancelled, {}};
  if (sd_bus_message_read(signal, "u", &response) < 0 || response != RESPONSE_CHOSEN) return 0;
  if (sd_bus_message_enter_container(signal, 'a', "{sv}") < 0) return 0;
  while (sd_bus_message_enter_container(signal, 'e', "sv") > 0) {
    const char* key = nullptr;
    char** uris = nullptr;
    if (sd_bus_message_read(signal, "s", &key) >= 0 && std::string_view(key) == "uris" &&
        sd_bus_message_enter_container(signal, 'v', "as") >= 0 &&
        sd_bus_message_read_strv(signal, &uris) >= 0) {
      if (uris != nullptr && uris[0] != nullptr && !PathOfUri(uris[0]).empty()) {
        *answer = {ChooserAnswer::Kind::Chosen, PathOfUri(uris[0])};
      }
      for (char** uri = uris; uri != nullptr && *uri != nullptr; ++uri) free(*uri);
      free(uris);
      sd_bus_message_exit_container(signal);
    } else {
      sd_bus_message_skip(signal, "v");
    }
    sd_bus_message_exit_container(signal);
  }
  return 0;
}

Slot ListenForResponse(sd_bus* bus, const std::string& path, std::optional<ChooserAnswer>& answer) {
  sd_bus_slot* slot = nullptr;
  if (sd_bus_match_signal(bus, &slot, nullptr, path.c_str(), REQUEST_INTERFACE, "Response",
                          OnResponse, &answer) < 0) {
    return nullptr;
  }
  return Slot(slot);
}

// Asks the portal; the request's path, or empty when no portal answers the call.
std::string CallOpenFile(sd_bus* bus, const ChooserRequest& request, const std::string& token) {
  sd_bus_message* made = nullptr;
  if (sd_bus_message_new_method_call(bus, &made, PORTAL_SERVICE, PORTAL_PATH, CHOOSER_INTERFACE,
                                     "OpenFile") < 0) {
    return {};
  }
  const Message call(made);
  if (sd_bus_message_append(call.get(), "ss", "", request.title_utf8.c_str()) < 0 ||
      AppendOptions(call.get(), request, token) < 0) {
    return {};
  }
  sd_bus_message* replied = nullptr;
  sd_bus_error error{};  // SD_BUS_ERROR_NULL, which is a C compound literal
  const int called = sd_bus_call(bus, call.get(), 0, &error, &replied);
  sd_bus_error_free(&error);
  const Message reply(replied);
  const char* handle = nullptr;
  if (called < 0 || sd_bus_message_read(reply.get(), "o", &handle) < 0) return {};
  return handle;
}

}  // namespace

ChooserAnswer ChooseWithPortal(const ChooserRequest& request) {
  sd_bus* opened = nullptr;
  if (sd_bus_open_user(&opened) < 0) return {};
  const Bus bus(opened);
  const char* unique_name = nullptr;
  if (sd_bus_get_unique_name(bus.get(), &unique_name) < 0) return {};
  const std::string token = NewToken();
  const std::string expected = RequestPath(unique_name, token);
  std::optional<ChooserAnswer> answer;
  Slot listening = ListenForResponse(bus.get(), expected, answer);
  const std::string handle = CallOpenFile(bus.get(), request, token);
  if (!listening || handle.empty()) return {};
  // A portal older than the token gives a path of its own.
  if (handle != expected) listening = ListenForResponse(bus.get(), handle, answer);
  while (!answer && listening) {
    const int processed = sd_bus_process(bus.get(), nullptr);
    if (processed < 0) return {};
    if (processed == 0 && sd_bus_wait(bus.get(), UINT64_MAX) < 0) return {};
  }
  return answer.value_or(ChooserAnswer{});
}
