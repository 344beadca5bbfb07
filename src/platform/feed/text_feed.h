// The text feed: a WebSocket server that sends each text it is given to every
// connected client as one text frame of UTF-8, as dictionary pages for learners
// ("texthookers") take it. It runs on a thread of its own, which sleeps until a
// client or a text comes; the reader hands texts over and never waits: each client
// has a bounded queue whose oldest frames go when it is full.
// It serves the reader's own pages only: any page in a browser may open a WebSocket
// to the loopback, so a handshake from a page of another origin than this machine's,
// a local file's or one the reader named is refused, as is one whose Host names
// another machine (a page whose name was made to point at the loopback).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_or.h"

// Where the feed listens: an IP address (v4, or v6 in brackets) and a port.
struct FeedAddress {
  std::string host = "127.0.0.1";  // loopback: only programs of this machine connect
  std::uint16_t port = 6677;       // where texthooker pages look by default

  std::string ToString() const;
};

// "ADDRESS:PORT" ("localhost" is 127.0.0.1); nullopt when it is none.
std::optional<FeedAddress> ParseFeedAddress(std::string_view text);

// The origin of a page, "https://renji-xd.github.io" (a "/" after it is taken off), as
// browsers send it: scheme and host in lower case, the scheme's default port left out;
// nullopt when text is no origin.
std::optional<std::string> SerializedOrigin(std::string_view text);

class TextFeed {
 public:
  // Clients connected at once, once their handshake went through; the next is refused.
  static constexpr int CLIENTS_MAX = 8;
  // Connections still in their handshake, which has a few seconds; a new one drops the
  // oldest, so that slow ones neither keep clients out nor take every descriptor.
  static constexpr int HANDSHAKES_MAX = 32;

  // Listens at address, serving the pages of origins (serialized) besides this
  // machine's own; why not, when it cannot.
  static ErrorOr<std::unique_ptr<TextFeed>, std::string> Listen(const FeedAddress& address,
                                                                std::vector<std::string> origins);
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
  // What the reader is to be told since it last asked, in its language: a page of
  // another origin refused (once an origin).
  std::vector<std::string> TakeWarnings();

  struct Server;

 private:
  explicit TextFeed(std::unique_ptr<Server> server);
  std::unique_ptr<Server> server_;
};
