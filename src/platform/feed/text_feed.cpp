// The text feed on Boost.Beast: the WebSocket handshake and framing are Beast's;
// here are the clients, their handshakes, queues and limits. Everything below runs on
// the feed's own thread, in its io_context, except Send, clients, AwaitClients and
// TakeWarnings.
#include "platform/feed/text_feed.h"

#include <arpa/inet.h>

#include <algorithm>
#include <atomic>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <charconv>
#include <condition_variable>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "platform/translation.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Frame = std::shared_ptr<const std::string>;
using Request = http::request<http::empty_body>;

// A client's frames not yet written: far more than a reading client ever lets wait.
constexpr std::size_t FRAMES_WAITING_MAX = 256;
// What a client may send once open, every frame whole, pings and pongs too
// (texthooker pages send nothing); past it the client goes.
constexpr std::size_t RECEIVED_BYTES_MAX = 4096;
// How long a connection has to send its handshake and take the answer, and a client
// to answer the feed's close.
constexpr auto HANDSHAKE_TIME = std::chrono::seconds(3);
// Refused origins the reader is told of, once each; past them refusals go untold.
constexpr std::size_t ORIGINS_TOLD_MAX = 16;
// How long the clients get, when the reader ends, to take what waits for them.
constexpr auto GOODBYE_TIME = std::chrono::milliseconds(500);
// A connection that cannot be taken (no descriptor left) leaves the listening socket
// ready: accepting pauses this long instead of trying again at once.
constexpr auto ACCEPT_PAUSE = std::chrono::milliseconds(100);
// The loopback's names, as Host headers and origins give them.
constexpr std::string_view LOOPBACK_NAMES[] = {"localhost", "127.0.0.1", "[::1]"};

// What a client sent once its WebSocket opened, as its stream reads it: every frame
// whole, whatever its kind. Past the limit the client is told to go, and the stream
// reads on only at the rate policy's least, a byte a second.
class ReceivedBudget {
 public:
  void Open(std::function<void()> spent) { spent_ = std::move(spent); }

  // Before the WebSocket opens, the handshake's parser and deadline bound what is read.
  std::size_t available_read_bytes() const {
    if (!spent_) return ALL;
    return received_ > RECEIVED_BYTES_MAX ? 0 : RECEIVED_BYTES_MAX + 1 - received_;
  }
  std::size_t available_write_bytes() const { return ALL; }
  void transfer_read_bytes(std::size_t bytes) {
    if (!spent_ || received_ > RECEIVED_BYTES_MAX) return;
    received_ += bytes;
    if (received_ > RECEIVED_BYTES_MAX) spent_();
  }
  void transfer_write_bytes(std::size_t) {}
  void on_timer() {}

 private:
  static constexpr std::size_t ALL = std::numeric_limits<std::size_t>::max();
  std::function<void()> spent_;  // set when the WebSocket opens
  std::size_t received_ = 0;
};

using ClientStream = beast::basic_stream<tcp, asio::any_io_executor, ReceivedBudget>;

// A handshake declined, in its own terms: an HTTP answer.
struct Refusal {
  http::status status;
  std::string why;  // the answer's body
};

bool IsIpAddress(const std::string& host) {
  unsigned char bytes[16];
  return inet_pton(AF_INET, host.c_str(), bytes) == 1 ||
         inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return lowered;
}

// A port's digits, 1 to 65535.
std::optional<std::uint16_t> PortNumber(std::string_view digits) {
  unsigned port = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, problem] = std::from_chars(digits.data(), end, port);
  if (problem != std::errc() || stop != end || port == 0 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

// A host as an address bar writes it: a name, an IPv4 address, an IPv6 one in brackets.
bool IsHost(std::string_view host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    return std::all_of(host.begin() + 1, host.end() - 1, [](char c) {
      return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
    });
  }
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_';
  });
}

// "HOST[:PORT]", as a Host header and an origin end.
struct Authority {
  std::string host;        // in lower case
  std::uint16_t port = 0;  // 0: none given
};

std::optional<Authority> ParseAuthority(std::string_view text) {
  const bool bracketed = text.starts_with('[');
  std::size_t host_end = bracketed ? text.find(']') : text.find(':');
  if (bracketed && host_end != std::string_view::npos) ++host_end;
  const std::string_view host = text.substr(0, host_end);
  if (!IsHost(host)) return std::nullopt;
  Authority authority{Lowered(host)};
  if (host.size() == text.size()) return authority;
  const std::optional<std::uint16_t> port =
      text[host.size()] == ':' ? PortNumber(text.substr(host.size() + 1)) : std::nullopt;
  if (!port) return std::nullopt;
  authority.port = *port;
  return authority;
}

struct Origin {
  std::string scheme;  // in lower case
  Authority authority;
};

std::optional<Origin> ParseOrigin(std::string_view text) {
  if (text.ends_with('/')) text.remove_suffix(1);
  const std::size_t scheme_end = text.find("://");
  const std::string_view scheme = text.substr(0, scheme_end);
  if (scheme_end == std::string_view::npos || scheme.empty() ||
      !std::all_of(scheme.begin(), scheme.end(),
                   [](char c) { return IsAsciiAlnum(c) || c == '+' || c == '-' || c == '.'; })) {
    return std::nullopt;
  }
  std::optional<Authority> authority = ParseAuthority(text.substr(scheme_end + 3));
  if (!authority) return std::nullopt;
  Origin origin{Lowered(scheme), std::move(*authority)};
  const std::uint16_t default_port = origin.scheme == "https"  ? 443
                                     : origin.scheme == "http" ? 80
                                                               : 0;
  if (origin.authority.port == default_port) origin.authority.port = 0;
  return origin;
}

std::string Serialized(const Origin& origin) {
  const std::uint16_t port = origin.authority.port;
  return origin.scheme + "://" + origin.authority.host +
         (port != 0 ? ":" + std::to_string(port) : "");
}

std::string_view Field(const Request& request, http::field name) {
  const beast::string_view value = request[name];
  return {value.data(), value.size()};
}

bool IsLoopbackName(std::string_view host) {
  return std::ranges::find(LOOPBACK_NAMES, host) != std::ranges::end(LOOPBACK_NAMES);
}

// An address as a Host header names it: IPv6 in brackets, IPv4 for an IPv4-mapped one.
std::string HostName(asio::ip::address address) {
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  }
  return address.is_v6() ? "[" + address.to_string() + "]" : address.to_string();
}

}  // namespace

std::string FeedAddress::ToString() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<FeedAddress> ParseFeedAddress(std::string_view text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string host(text.substr(0, colon));
  const std::optional<std::uint16_t> port = PortNumber(text.substr(colon + 1));
  if (!port) return std::nullopt;
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  if (host == "localhost") host = "127.0.0.1";
  if (!IsIpAddress(host)) return std::nullopt;
  return FeedAddress{host, *port};
}

std::optional<std::string> SerializedOrigin(std::string_view text) {
  const std::optional<Origin> origin = ParseOrigin(text);
  return origin ? std::optional(Serialized(*origin)) : std::nullopt;
}

// The server's own parts, named in it.
namespace text_feed {
class Client;
}  // namespace text_feed

struct TextFeed::Server {
  asio::io_context io;
  tcp::acceptor acceptor{io};
  asio::steady_timer accept_pause{io};
  asio::steady_timer goodbye{io};
  std::uint16_t port = 0;
  std::string host_name;             // the address listened on, as a Host header names it
  std::vector<std::string> origins;  // named by the reader, serialized
  std::deque<std::shared_ptr<text_feed::Client>> handshaking;  // the oldest first
  std::vector<std::shared_ptr<text_feed::Client>> clients;     // their handshake went through
  std::set<std::string> origins_told;
  bool stopping = false;
  std::thread thread;

  std::atomic<int> open{0};  // read by the reader's thread
  mutable std::mutex open_mutex;
  mutable std::condition_variable open_changed;
  std::mutex warnings_mutex;
  std::vector<std::string> warnings;  // taken by the reader's thread

  void Accept();
  void Take(tcp::socket socket);
  // Nothing when the client may open: it is then one of the clients.
  std::optional<Refusal> Admit(text_feed::Client& client, const Request& request,
                               const std::string& local_host);
  // Why a handshake is declined; nothing when it is not.
  std::optional<Refusal> Refuses(const Request& request, const std::string& local_host);
  bool HostIsOurs(std::string_view host, const std::string& local_host) const;
  bool LetsIn(std::string_view origin);
  void Remove(const text_feed::Client& client);
  void Stop();
  void StopWhenAllGone();
  void CountChanged(int change) {
    {
      std::lock_guard lock(open_mutex);
      open += change;
    }
    open_changed.notify_all();
  }
};

namespace text_feed {

// One connection: its handshake, the frames that wait for it, and what it sends,
// which is read and dropped.
class Client : public std::enable_shared_from_this<Client> {
 public:
  Client(TextFeed::Server& server, tcp::socket socket) : server_(server), ws_(std::move(socket)) {}

  void Start() {
    beast::get_lowest_layer(ws_).expires_after(HANDSHAKE_TIME);
    http::async_read(ws_.next_layer(), handshake_, request_,
                     beast::bind_front_handler(&Client::Requested, shared_from_this()));
  }

  void Queue(const Frame& frame) {
    if (!open_ || closing_) return;
    // The frame being written stays; the oldest behind it goes.
    if (waiting_.size() >= FRAMES_WAITING_MAX) DropWaiting(1);
    waiting_.push_back(frame);
    if (!writing_) WriteNext();
  }

  // Closes once what waits is written (a client that never reads is cut off when the
  // feed ends).
  void Close(websocket::close_code code) {
    if (closing_) return;
    closing_ = true;
    close_code_ = code;
    if (!open_) return End();
    if (!writing_) SendClose();
  }

  // The connection is over, whichever way: the server forgets it.
  void End() {
    if (ended_) return;
    ended_ = true;
    if (open_) server_.CountChanged(-1);
    beast::get_lowest_layer(ws_).close();
    server_.Remove(*this);
  }

 private:
  void Requested(beast::error_code error, std::size_t) {
    if (error || ended_) return End();
    beast::error_code unknown;
    const tcp::endpoint local = beast::get_lowest_layer(ws_).socket().local_endpoint(unknown);
    const Request& request = request_.get();
    if (std::optional<Refusal> refusal =
            server_.Admit(*this, request, unknown ? "" : HostName(local.address()))) {
      return Refuse(*refusal);
    }
    // The WebSocket's own deadlines take over.
    beast::get_lowest_layer(ws_).expires_never();
    ws_.set_option(
        websocket::stream_base::timeout{HANDSHAKE_TIME, websocket::stream_base::none(), false});
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type& response) { response.set(http::field::server, "yomu"); }));
    ws_.read_message_max(RECEIVED_BYTES_MAX);
    ws_.async_accept(request, beast::bind_front_handler(&Client::Opened, shared_from_this()));
  }

  void Refuse(const Refusal& refusal) {
    answer_ = {refusal.status, request_.get().version()};
    answer_.set(http::field::server, "yomu");
    answer_.body() = refusal.why;
    answer_.keep_alive(false);
    answer_.prepare_payload();
    http::async_write(ws_.next_layer(), answer_,
                      beast::bind_front_handler(&Client::Refused, shared_from_this()));
  }

  void Refused(beast::error_code, std::size_t) {
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_send, ignored);
    End();
  }

  void Opened(beast::error_code error) {
    if (error || ended_) return End();
    open_ = true;
    server_.CountChanged(1);
    ws_.text(true);
    // The budget speaks from within a read of the stream: the close follows that read.
    ws_.next_layer().rate_policy().Open([client = weak_from_this(), io = ws_.get_executor()] {
      asio::post(io, [client] {
        if (const std::shared_ptr<Client> spent = client.lock()) spent->Spent();
      });
    });
    Read();
  }

  void Spent() {
    DropWaiting(waiting_.size());
    Close(websocket::close_code::policy_error);
  }

  void Read() {
    ws_.async_read(received_, beast::bind_front_handler(&Client::Received, shared_from_this()));
  }

  void Received(beast::error_code error, std::size_t) {
    if (error) return End();
    received_.clear();
    Read();
  }

  // Drops up to count frames that wait behind the one being written.
  void DropWaiting(std::size_t count) {
    const auto first = waiting_.begin() + (writing_ ? 1 : 0);
    waiting_.erase(first, first + std::min<std::ptrdiff_t>(count, waiting_.end() - first));
  }

  void WriteNext() {
    writing_ = !waiting_.empty();
    if (!writing_) {
      if (closing_) SendClose();
      return;
    }
    ws_.async_write(asio::buffer(*waiting_.front()),
                    beast::bind_front_handler(&Client::Written, shared_from_this()));
  }

  void Written(beast::error_code error, std::size_t) {
    waiting_.pop_front();
    if (error) return End();
    WriteNext();
  }

  void SendClose() {
    if (close_sent_) return;
    close_sent_ = true;
    ws_.async_close(close_code_, beast::bind_front_handler(&Client::Closed, shared_from_this()));
  }

  void Closed(beast::error_code) { End(); }

  TextFeed::Server& server_;
  websocket::stream<ClientStream, false> ws_;  // frames are short: no compression
  beast::flat_buffer handshake_;
  http::request_parser<http::empty_body> request_;
  http::response<http::string_body> answer_;  // to a handshake refused
  std::deque<Frame> waiting_;
  beast::flat_buffer received_;
  bool open_ = false;
  bool writing_ = false;
  bool closing_ = false;
  bool close_sent_ = false;
  bool ended_ = false;
  websocket::close_code close_code_ = websocket::close_code::going_away;
};

}  // namespace text_feed

using text_feed::Client;

void TextFeed::Server::Accept() {
  acceptor.async_accept([this](beast::error_code error, tcp::socket socket) {
    if (stopping) return;
    if (!error) {
      Take(std::move(socket));
      return Accept();
    }
    accept_pause.expires_after(ACCEPT_PAUSE);
    accept_pause.async_wait([this](beast::error_code paused) {
      if (!paused && !stopping) Accept();
    });
  });
}

void TextFeed::Server::Take(tcp::socket socket) {
  if (handshaking.size() >= static_cast<std::size_t>(HANDSHAKES_MAX)) {
    const std::shared_ptr<Client> oldest = handshaking.front();
    oldest->End();
  }
  handshaking.push_back(std::make_shared<Client>(*this, std::move(socket)));
  handshaking.back()->Start();
}

std::optional<Refusal> TextFeed::Server::Admit(Client& client, const Request& request,
                                               const std::string& local_host) {
  std::optional<Refusal> refusal = Refuses(request, local_host);
  if (refusal) return refusal;
  const auto place = std::ranges::find_if(
      handshaking, [&client](const auto& known) { return known.get() == &client; });
  clients.push_back(*place);
  handshaking.erase(place);
  return std::nullopt;
}

std::optional<Refusal> TextFeed::Server::Refuses(const Request& request,
                                                 const std::string& local_host) {
  if (!HostIsOurs(Field(request, http::field::host), local_host)) {
    return Refusal{http::status::forbidden, "yomu's text feed answers to this machine only\n"};
  }
  if (!LetsIn(Field(request, http::field::origin))) {
    return Refusal{http::status::forbidden,
                   "yomu's text feed serves the reader's pages and those of its "
                   "--text-feed-origin only\n"};
  }
  if (clients.size() < static_cast<std::size_t>(CLIENTS_MAX)) return std::nullopt;
  return Refusal{http::status::service_unavailable,
                 "yomu's text feed has " + std::to_string(CLIENTS_MAX) + " clients already\n"};
}

// Against a page whose own name was made to point at this machine: the names of the
// loopback and the address the client reached, at the feed's port.
bool TextFeed::Server::HostIsOurs(std::string_view host, const std::string& local_host) const {
  const std::optional<Authority> authority = ParseAuthority(host);
  if (!authority || (authority->port != 0 && authority->port != port)) return false;
  return IsLoopbackName(authority->host) || authority->host == host_name ||
         authority->host == local_host;
}

// Tools send no origin, local files "null" or "file://"; pages of the loopback and those
// the reader named are let in, and the reader hears of the others.
bool TextFeed::Server::LetsIn(std::string_view origin_text) {
  const std::string lowered = Lowered(origin_text);
  if (lowered.empty() || lowered == "null" || lowered == "file://") return true;
  const std::optional<Origin> origin = ParseOrigin(origin_text);
  if (!origin) return false;
  const std::string serialized = Serialized(*origin);
  const bool web = origin->scheme == "http" || origin->scheme == "https";
  if ((web && IsLoopbackName(origin->authority.host)) ||
      std::ranges::find(origins, serialized) != origins.end()) {
    return true;
  }
  if (origins_told.size() < ORIGINS_TOLD_MAX && origins_told.insert(serialized).second) {
    std::lock_guard lock(warnings_mutex);
    warnings.push_back(Formatted(_("the text feed refused a page of %s: "
                                   "--text-feed-origin=%s lets it in"),
                                 serialized, serialized));
  }
  return false;
}

void TextFeed::Server::Remove(const Client& client) {
  const auto is_it = [&client](const auto& known) { return known.get() == &client; };
  std::erase_if(handshaking, is_it);
  std::erase_if(clients, is_it);
  StopWhenAllGone();
}

void TextFeed::Server::Stop() {
  stopping = true;
  beast::error_code ignored;
  acceptor.close(ignored);
  accept_pause.cancel();
  goodbye.expires_after(GOODBYE_TIME);
  // Whoever has not taken its frames by then is cut off.
  goodbye.async_wait([this](beast::error_code error) {
    if (!error) io.stop();
  });
  for (const std::shared_ptr<Client>& client :
       std::vector(handshaking.begin(), handshaking.end())) {
    client->End();
  }
  for (const std::shared_ptr<Client>& client : std::vector(clients)) {
    client->Close(websocket::close_code::going_away);
  }
  StopWhenAllGone();
}

// With nobody left, nothing keeps the thread's loop running.
void TextFeed::Server::StopWhenAllGone() {
  if (stopping && clients.empty() && handshaking.empty()) goodbye.cancel();
}

ErrorOr<std::unique_ptr<TextFeed>, std::string> TextFeed::Listen(
    const FeedAddress& address, std::vector<std::string> origins) {
  auto server = std::make_unique<Server>();
  beast::error_code problem;
  const tcp::endpoint endpoint(asio::ip::make_address(address.host, problem), address.port);
  tcp::acceptor& acceptor = server->acceptor;
  if (!problem) acceptor.open(endpoint.protocol(), problem);
  if (!problem) acceptor.set_option(asio::socket_base::reuse_address(true), problem);
  if (!problem) acceptor.bind(endpoint, problem);
  if (!problem) acceptor.listen(asio::socket_base::max_listen_connections, problem);
  if (problem == asio::error::address_in_use) {
    return Formatted(_("no text feed: %s is in use by another program"), address.ToString());
  }
  if (problem) {
    return Formatted(_("no text feed: %s cannot be listened on: %s"), address.ToString(),
                     problem.message());
  }
  server->port = address.port;
  server->host_name = HostName(endpoint.address());
  server->origins = std::move(origins);
  server->Accept();
  Server& running = *server;
  server->thread = std::thread([&running] { running.io.run(); });
  return std::unique_ptr<TextFeed>(new TextFeed(std::move(server)));
}

TextFeed::TextFeed(std::unique_ptr<Server> server) : server_(std::move(server)) {}

TextFeed::~TextFeed() {
  asio::post(server_->io, [server = server_.get()] { server->Stop(); });
  server_->thread.join();
}

void TextFeed::Send(std::string text_utf8) {
  // Without clients nothing is handed over: the feed costs the reader nothing.
  if (server_->open == 0) return;
  Frame frame = std::make_shared<const std::string>(std::move(text_utf8));
  asio::post(server_->io, [server = server_.get(), frame = std::move(frame)] {
    for (const std::shared_ptr<Client>& client : server->clients) client->Queue(frame);
  });
}

int TextFeed::clients() const { return server_->open; }

bool TextFeed::AwaitClients(int count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(server_->open_mutex);
  return server_->open_changed.wait_for(lock, timeout, [&] { return server_->open == count; });
}

std::vector<std::string> TextFeed::TakeWarnings() {
  std::lock_guard lock(server_->warnings_mutex);
  return std::exchange(server_->warnings, {});
}
