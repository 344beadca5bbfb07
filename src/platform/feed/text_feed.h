// The text feed: a WebSocket server that sends each text it is given to every
// connected client as one text frame of UTF-8, as dictionary pages for learners
// ("texthookers") take it. It runs on a thread of its own, which sleeps until a
// client or a text comes; the reader hands texts over and never waits: each client
// has a bounded queue whose oldest frames go when it is full.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Where the feed listens: an IP address (v4, or v6 in brackets) and a port.
struct FeedAddress {
  std::string host = "127.0.0.1";  // loopback: only programs of this machine connect
  std::uint16_t port = 6677;       // where texthooker pages look by default

  std::string ToString() const;
};

// "ADDRESS:PORT" ("localhost" is 127.0.0.1); nullopt when it is none.
std::optional<FeedAddress> ParseFeedAddress(std::string_view text);

class TextFeed {
 public:
  // Clients connected at once; the next is refused.
  static constexpr int CLIENTS_MAX = 8;

  // Listens at address; null, with the reason in error, when it cannot.
  static std::unique_ptr<TextFeed> Listen(const FeedAddress& address, std::string& error);
  // Says goodbye to the clients (what waits for them is sent first, for a moment).
  ~TextFeed();
  TextFeed(const TextFeed&) = delete;
  TextFeed& operator=(const TextFeed&) = delete;

  // One frame to every client connected now.
  void Send(std::string text_utf8);
  // The clients whose connection is open.
  int clients() const;
  // Waits until count clients are connected, at most timeout; false when they were not.
  bool AwaitClients(int count, std::chrono::milliseconds timeout) const;

  struct Server;

 private:
  explicit TextFeed(std::unique_ptr<Server> server);
  std::unique_ptr<Server> server_;
};
