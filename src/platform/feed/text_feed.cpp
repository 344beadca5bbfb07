// The text feed on Boost.Beast: the WebSocket handshake and framing are Beast's;
// here are the clients, their queues and their limits. Everything below runs on the
// feed's own thread, in its io_context, except Send, clients and AwaitClients.
#include "platform/feed/text_feed.h"
#include "platform/translation.h"

#include <arpa/inet.h>

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
#include <mutex>
#include <thread>
#include <vector>

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Frame = std::shared_ptr<const std::string>;

// A client's frames not yet written: far more than a reading client ever lets wait.
constexpr std::size_t FRAMES_WAITING_MAX = 256;
// What a client may send (texthooker pages send nothing); past it the client goes.
constexpr std::size_t RECEIVED_BYTES_MAX = 4096;
// Refused connections answered at once; beyond them a connection is just closed.
constexpr int REFUSALS_MAX = 8;
constexpr auto REFUSAL_TIMEOUT = std::chrono::seconds(5);
// How long the clients get, when the reader ends, to take what waits for them.
constexpr auto GOODBYE_TIME = std::chrono::milliseconds(500);
// A connection that cannot be taken (no descriptor left) leaves the listening socket
// ready: accepting pauses this long instead of trying again at once.
constexpr auto ACCEPT_PAUSE = std::chrono::milliseconds(100);

bool IsIpAddress(const std::string& host) {
  unsigned char bytes[16];
  return inet_pton(AF_INET, host.c_str(), bytes) == 1 ||
         inet_pton(AF_INET6, host.c_str(), bytes) == 1;
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
  const std::string_view port_text = text.substr(colon + 1);
  unsigned port = 0;
  const auto [end, problem] =
      std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
  if (problem != std::errc() || end != port_text.data() + port_text.size() || port == 0 ||
      port > 65535) {
    return std::nullopt;
  }
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  if (host == "localhost") host = "127.0.0.1";
  if (!IsIpAddress(host)) return std::nullopt;
  return FeedAddress{host, static_cast<std::uint16_t>(port)};
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
  std::vector<std::shared_ptr<text_feed::Client>> clients;  // handshaking and open
  int refusals = 0;                                         // being answered
  bool stopping = false;
  std::thread thread;

  std::atomic<int> open{0};  // read by the reader's thread
  mutable std::mutex open_mutex;
  mutable std::condition_variable open_changed;

  void Accept();
  void Take(tcp::socket socket);
  void Remove(const text_feed::Client& client);
  void RefusalEnded();
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
    ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type& response) { response.set(http::field::server, "yomu"); }));
    ws_.read_message_max(RECEIVED_BYTES_MAX);
    ws_.async_accept(beast::bind_front_handler(&Client::Opened, shared_from_this()));
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

 private:
  void Opened(beast::error_code error) {
    if (error) return End();
    open_ = true;
    server_.CountChanged(1);
    ws_.text(true);
    Read();
  }

  void Read() {
    ws_.async_read(received_, beast::bind_front_handler(&Client::Received, shared_from_this()));
  }

  void Received(beast::error_code error, std::size_t bytes) {
    if (error) return End();
    received_.clear();
    received_total_ += bytes;
    if (received_total_ > RECEIVED_BYTES_MAX) {
      DropWaiting(waiting_.size());
      Close(websocket::close_code::policy_error);
    }
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

  // The connection is over, whichever way: the server forgets it.
  void End() {
    if (ended_) return;
    ended_ = true;
    if (open_) server_.CountChanged(-1);
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().close(ignored);
    server_.Remove(*this);
  }

  TextFeed::Server& server_;
  websocket::stream<beast::tcp_stream, false> ws_;  // frames are short: no compression
  std::deque<Frame> waiting_;
  beast::flat_buffer received_;
  std::size_t received_total_ = 0;
  bool open_ = false;
  bool writing_ = false;
  bool closing_ = false;
  bool close_sent_ = false;
  bool ended_ = false;
  websocket::close_code close_code_ = websocket::close_code::going_away;
};

// A connection past the last client is told why, in the handshake's own terms: an
// HTTP answer that declines the upgrade.
class Refusal : public std::enable_shared_from_this<Refusal> {
 public:
  Refusal(TextFeed::Server& server, tcp::socket socket)
      : server_(server), stream_(std::move(socket)) {}

  void Start() {
    stream_.expires_after(REFUSAL_TIMEOUT);
    http::async_read(stream_, buffer_, request_,
                     beast::bind_front_handler(&Refusal::Answer, shared_from_this()));
  }

 private:
  void Answer(beast::error_code error, std::size_t) {
    if (error) return server_.RefusalEnded();
    answer_ = {http::status::service_unavailable, request_.version()};
    answer_.set(http::field::server, "yomu");
    answer_.body() =
        "yomu's text feed has " + std::to_string(TextFeed::CLIENTS_MAX) + " clients already\n";
    answer_.keep_alive(false);
    answer_.prepare_payload();
    http::async_write(stream_, answer_,
                      beast::bind_front_handler(&Refusal::Answered, shared_from_this()));
  }

  void Answered(beast::error_code, std::size_t) {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    server_.RefusalEnded();
  }

  TextFeed::Server& server_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  http::request<http::empty_body> request_;
  http::response<http::string_body> answer_;
};

}  // namespace text_feed

using text_feed::Client;
using text_feed::Refusal;

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
  if (static_cast<int>(clients.size()) < CLIENTS_MAX) {
    clients.push_back(std::make_shared<Client>(*this, std::move(socket)));
    clients.back()->Start();
  } else if (refusals < REFUSALS_MAX) {
    ++refusals;
    std::make_shared<Refusal>(*this, std::move(socket))->Start();
  }  // else the socket closes as it goes
}

void TextFeed::Server::Remove(const Client& client) {
  std::erase_if(clients, [&client](const auto& known) { return known.get() == &client; });
  StopWhenAllGone();
}

void TextFeed::Server::RefusalEnded() {
  --refusals;
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
  for (const std::shared_ptr<Client>& client : std::vector(clients)) {
    client->Close(websocket::close_code::going_away);
  }
  StopWhenAllGone();
}

// With nobody left, nothing keeps the thread's loop running.
void TextFeed::Server::StopWhenAllGone() {
  if (stopping && clients.empty() && refusals == 0) goodbye.cancel();
}

std::unique_ptr<TextFeed> TextFeed::Listen(const FeedAddress& address, std::string& error) {
  auto server = std::make_unique<Server>();
  beast::error_code problem;
  const tcp::endpoint endpoint(asio::ip::make_address(address.host, problem), address.port);
  tcp::acceptor& acceptor = server->acceptor;
  if (!problem) acceptor.open(endpoint.protocol(), problem);
  if (!problem) acceptor.set_option(asio::socket_base::reuse_address(true), problem);
  if (!problem) acceptor.bind(endpoint, problem);
  if (!problem) acceptor.listen(asio::socket_base::max_listen_connections, problem);
  if (problem) {
    error = problem == asio::error::address_in_use
                ? Formatted(_("no text feed: %s is in use by another program"), address.ToString())
                : Formatted(_("no text feed: %s cannot be listened on: %s"), address.ToString(),
                            problem.message());
    return nullptr;
  }
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
