// Reading through the sample novel headless (the clicks and choices of its shots,
// without the screenshots), timed from the start to the reader's quit: without the
// text feed, with it and no client, and with a client that never reads a byte,
// which must hold the reader up no more than no client does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>
#include <fstream>
#include <sstream>
#include <thread>

#include "novel_folder.h"
#include "spawned_reader.h"

namespace {

constexpr char PORT[] = "46677";

// The demo's events, waiting first for the clients that the run has.
std::string EventsFile(const BenchFolder& folder, int clients) {
  std::ifstream shots(std::string(YOMU_SOURCE_DIR) + "/demo/shots.events");
  std::ostringstream events;
  if (clients > 0) events << "feed clients " << clients << "\n";
  for (std::string line; std::getline(shots, line);) {
    if (line.rfind("screenshot", 0) != 0) events << line << "\n";
  }
  folder.Write("events", events.str());
  return folder.path() + "/events";
}

// Connects as soon as the feed listens, shakes hands, then reads nothing until done.
void NeverReadingClient(const std::atomic<bool>& done) {
  namespace asio = boost::asio;
  asio::io_context io;
  boost::beast::websocket::stream<asio::ip::tcp::socket> client(io);
  const auto endpoints = asio::ip::tcp::resolver(io).resolve("127.0.0.1", PORT);
  for (boost::system::error_code error; !done;) {
    asio::connect(client.next_layer(), endpoints, error);
    if (!error) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  boost::system::error_code error;
  if (!done) client.handshake("127.0.0.1", "/", error);
  while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// range(0): 0 without the feed, 1 with the feed and no client, 2 with a client that never reads.
void BM_ReadThroughTheDemo(benchmark::State& state) {
  const BenchFolder folder;
  const int mode = static_cast<int>(state.range(0));
  std::vector<std::string> command{YOMU_BINARY, "--headless",
                                   "--events=" + EventsFile(folder, mode == 2 ? 1 : 0)};
  if (mode > 0) command.push_back(std::string("--text-feed=127.0.0.1:") + PORT);
  command.push_back(YOMU_DEMO_DIR);
  for (auto _ : state) {
    std::atomic<bool> done = false;
    std::thread client;
    if (mode == 2) client = std::thread(NeverReadingClient, std::cref(done));
    const SpawnedRun run = RunUntil(command, " quit 0");
    done = true;
    if (client.joinable()) client.join();
    if (run.seconds < 0) return state.SkipWithError("the reader did not read through the demo");
    state.SetIterationTime(run.seconds);
  }
}
BENCHMARK(BM_ReadThroughTheDemo)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
