// The text feed against Beast's own client: who may open it (origins, Host, eight
// places), what a client may send (control frames counted), how long a handshake lasts.
#include "platform/feed/text_feed.h"

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <list>
#include <tuple>

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using WebSocket = websocket::stream<beast::tcp_stream>;

// Longer than the feed's handshake and close (3 s): what the test waits at most.
constexpr auto DEADLINE = std::chrono::seconds(5);

std::uint16_t FreePort(asio::io_context& io) {
  return tcp::acceptor(io, {asio::ip::address_v4::loopback(), 0}).local_endpoint().port();
}

// A feed on the loopback that serves the hosted texthooker page too, and its clients.
struct Feed {
  asio::io_context io;
  const tcp::endpoint at{asio::ip::address_v4::loopback(), FreePort(io)};
  ErrorOr<std::unique_ptr<TextFeed>, std::string> listened =
      TextFeed::Listen({"127.0.0.1", at.port()}, {"https://renji-xd.github.io"});
  TextFeed* feed = listened ? listened->get() : nullptr;

  // Runs what start begins until it ends, at most DEADLINE; its error.
  beast::error_code Await(beast::tcp_stream& stream, auto start) {
    beast::error_code ended = asio::error::in_progress;
    stream.expires_after(DEADLINE);
    start([&ended](beast::error_code error, auto&&...) { ended = error; });
    io.restart();
    io.run();
    return ended;
  }

  // The answer's status to a handshake (101: open).
  unsigned Open(WebSocket& ws, const std::string& host, const std::string& origin) {
    ws.next_layer().connect(at);
    ws.set_option(websocket::stream_base::decorator([origin](websocket::request_type& request) {
      if (!origin.empty()) request.set(beast::http::field::origin, origin);
    }));
    websocket::response_type answer;
    Await(ws.next_layer(), [&](auto done) { ws.async_handshake(answer, host, "/", done); });
    return answer.result_int();
  }

  // Whether the feed ended the connection.
  bool Dropped(beast::tcp_stream& stream) {
    char byte;
    const beast::error_code error =
        Await(stream, [&](auto done) { stream.async_read_some(asio::buffer(&byte, 1), done); });
    return error == asio::error::eof || error == asio::error::connection_reset;
  }
};

TEST(TextFeed, ServesThisMachinesPagesAndTheNamedOnesEightAtOnce) {
  Feed feed;
  ASSERT_TRUE(feed.feed) << feed.listened.error();
  const std::string port = ":" + std::to_string(feed.at.port());
  const std::tuple<std::string, std::string, unsigned> cases[] = {
      {"127.0.0.1" + port, "", 101},  // a tool
      {"localhost", "null", 101},     // local files
      {"LocalHost" + port, "file://", 101},
      {"[::1]" + port, "http://localhost:5173", 101},  // pages of this machine
      {"127.0.0.1", "HTTPS://[::1]", 101},
      {"127.0.0.1" + port, "https://Renji-XD.github.io:443", 101},
      {"127.0.0.1" + port, "http://evil.example", 403},
      {"127.0.0.1" + port, "http://evil.example", 403},  // told once
      {"127.0.0.1" + port, "https://renji-xd.github.io:8443", 403},
      {"evil.example" + port, "", 403},  // a name made to point at the loopback
      {"127.0.0.1:1", "", 403},
      {"127.0.0.1" + port, "http://127.0.0.1:8080", 101},
      {"127.0.0.1" + port, "", 101},
      {"127.0.0.1" + port, "", 503},  // a ninth
  };
  std::list<WebSocket> clients;
  for (const auto& [host, origin, status] : cases) {
    EXPECT_EQ(feed.Open(clients.emplace_back(feed.io), host, origin), status) << host << origin;
  }
  EXPECT_TRUE(feed.feed->AwaitClients(TextFeed::CLIENTS_MAX, DEADLINE));
  EXPECT_EQ(
      feed.feed->TakeWarnings(),
      (std::vector<std::string>{"the text feed refused a page of http://evil.example: "
                                "--text-feed-origin=http://evil.example lets it in",
                                "the text feed refused a page of https://renji-xd.github.io:8443: "
                                "--text-feed-origin=https://renji-xd.github.io:8443 lets it in"}));
}

TEST(TextFeed, ClosesAClientPastFourKilobytesItsPingsAndPongsCounted) {
  Feed feed;
  WebSocket client(feed.io);
  ASSERT_EQ(feed.Open(client, "127.0.0.1", ""), 101u);
  // Neither the text nor the control frames alone pass the limit; together they do.
  client.write(asio::buffer(std::string(2000, 'x')));
  const websocket::ping_data payload(125, 'p');
  for (int k = 0; k < 10; ++k) client.ping(payload), client.pong(payload);
  beast::flat_buffer ignored;
  EXPECT_TRUE(
      feed.Await(client.next_layer(), [&](auto done) { client.async_read(ignored, done); }));
  EXPECT_EQ(client.reason().code, websocket::close_code::policy_error);
}

TEST(TextFeed, HandshakesThatDragHoldNoPlaceAndEndInSeconds) {
  Feed feed;
  std::list<beast::tcp_stream> slow;
  for (int k = 0; k <= TextFeed::HANDSHAKES_MAX; ++k) {
    slow.emplace_back(feed.io).connect(feed.at);
    asio::write(slow.back(), asio::buffer("G", 1));
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(feed.Dropped(slow.front()));  // the oldest, for the newest
  WebSocket page(feed.io);
  EXPECT_EQ(feed.Open(page, "127.0.0.1", ""), 101u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_TRUE(feed.Dropped(slow.back()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

}  // namespace
