// The queue's order: posted messages first, then a paint, timer ticks last, and at
// most one waiting tick per timer however long the thread was busy. And the window's
// client area, laid over memory that the window system shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/calls/media_calls.h"
#include "platform/calls/message_calls.h"
#include "platform/calls/window_calls.h"
#include "platform/headless/events.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"
#include "support/novel.h"

namespace {

std::vector<HeadlessEvent> Events(const std::string& text) {
  std::istringstream in(text);
  return ParseEvents(in).value();
}

// A player whose sounds wait until the loop lets them start, with the times they did.
class PutOffSounds final : public MediaPlayer {
 public:
  explicit PutOffSounds(Platform& platform) : platform_(platform) {}
  DWORD Run(const MediaCommand&, Volume&) override { return 0; }
  void PlaySound(const char*, Volume&) override { waiting_ = true; }
  void Update(Volume&) override {}
  void SetLevel(int) override {}
  void ReaderWaits() override {
    if (std::exchange(waiting_, false)) started_ms.push_back(platform_.NowMs());
  }
  bool WorkWaits() override { return waiting_; }
  std::vector<std::uint64_t> started_ms;

 private:
  Platform& platform_;
  bool waiting_ = false;
};

class MessageQueueTest : public ::testing::Test {
 protected:
  MessageQueueTest() {
    WNDCLASSEXA window_class;
    window_class.lpfnWndProc = [](Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
      return DefWindowProcA(window, message, wparam, lparam);
    };
    window_class.lpszClassName = "Test";
    RegisterClassExA(platform_, window_class);
    window_ = CreateWindowExA(platform_, 0, "Test", "", 0, 0, 0, 640, 480);
    ShowWindow(*window_, 1);
  }

  // What the message loop handles before it next looks for input.
  std::vector<UINT> Drain() {
    platform_.queue.InputChecked();
    std::vector<UINT> messages;
    MSG message;
    while (PeekMessageA(platform_, &message)) {
      const bool tick = message.message == WM_TIMER;
      messages.push_back(tick ? 1000 + static_cast<UINT>(message.wParam) : message.message);
      DispatchMessageA(&message);
    }
    return messages;
  }

  std::ostringstream log_;
  HeadlessBackend backend_{Events("wait 100\n"), log_};
  Platform platform_{backend_, OpenFolder("/")};
  Window* window_ = nullptr;
};

TEST_F(MessageQueueTest, PostedBeforePaintBeforeTimers) {
  SetTimer(*window_, 7, 10);
  Sleep(platform_, 10);
  PostMessageA(*window_, WM_LBUTTONDOWN, 0, 0);
  PostMessageA(*window_, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, 1007}));
}

TEST_F(MessageQueueTest, ABusyThreadFindsOneTickPerTimer) {
  SetTimer(*window_, 1, 50);
  SetTimer(*window_, 2, 30);
  Drain();
  Sleep(platform_, 1400);  // a fade-in
  EXPECT_EQ(Drain(), (std::vector<UINT>{1002, 1001}));
  Sleep(platform_, 29);
  EXPECT_TRUE(Drain().empty());
  Sleep(platform_, 1);
  EXPECT_EQ(Drain(), (std::vector<UINT>{1002}));
}

TEST_F(MessageQueueTest, ATimerThatWorkKeepsDueLetsInputIn) {
  SetTimer(*window_, 3, 50);
  Drain();
  Sleep(platform_, 50);
  MSG message;
  ASSERT_TRUE(PeekMessageA(platform_, &message));
  EXPECT_EQ(message.message, WM_TIMER);
  Sleep(platform_, 400);  // the tick's work outlasts the interval
  EXPECT_FALSE(PeekMessageA(platform_, &message));  // input is looked for first
  EXPECT_EQ(Drain(), (std::vector<UINT>{1003}));
}

// What a click set sounding starts a frame after its page went out, while the loop
// waits for input or an effect sleeps, and once.
TEST_F(MessageQueueTest, PutOffSoundsStartAFrameAfterThePage) {
  auto player = std::make_unique<PutOffSounds>(platform_);
  const std::vector<std::uint64_t>& started_ms = player->started_ms;
  platform_.media = std::move(player);
  sndPlaySoundA(platform_, "SE.WAV", SND_ASYNC);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_PAINT}));
  const std::uint64_t page_ms = platform_.NowMs();
  MSG message;
  ASSERT_TRUE(GetMessageA(platform_, &message));  // the events run out after the wait
  EXPECT_EQ(message.message, static_cast<UINT>(WM_CLOSE));
  EXPECT_EQ(started_ms, (std::vector<std::uint64_t>{page_ms + 16}));

  // In an effect, whose steps sleep: a frame after the step that played it.
  sndPlaySoundA(platform_, "SE.WAV", SND_ASYNC);
  const std::uint64_t step_ms = platform_.NowMs();
  Sleep(platform_, 10);
  EXPECT_EQ(started_ms.size(), 1u);
  Sleep(platform_, 10);
  EXPECT_EQ(started_ms.back(), step_ms + 16);
  EXPECT_EQ(platform_.NowMs(), step_ms + 20);
}

// The client area laid over memory that the window system shows: black while nothing has
// been drawn (whatever that memory held), the pixels drawn once something has.
TEST_F(MessageQueueTest, ClientPixelsPlacedOverOtherMemoryKeepWhatWasDrawn) {
  std::vector<std::uint32_t> shown(std::size_t{CLIENT_WIDTH} * CLIENT_HEIGHT, 0xDEADBEEF);
  window_->PlaceClientPixels(shown.data(), Window::Pixels::Kept);
  EXPECT_FALSE(window_->drawn());
  EXPECT_EQ(std::count(shown.begin(), shown.end(), 0u), static_cast<long>(shown.size()));

  window_->PlaceClientPixels(nullptr, Window::Pixels::Kept);
  Surface* context = GetDC(*window_);
  const Brush white{RGB(255, 255, 255)};
  SelectObject(*context, &white);
  PatBlt(*context, 10, 20, 1, 1, PATCOPY);
  ReleaseDC(*window_, context);
  const std::uint32_t drawn = window_->client_pixels().row(20)[10];
  std::fill(shown.begin(), shown.end(), 0xDEADBEEF);
  window_->PlaceClientPixels(shown.data(), Window::Pixels::Kept);
  EXPECT_TRUE(window_->drawn());
  EXPECT_NE(drawn, 0u);
  EXPECT_EQ(shown[20 * CLIENT_WIDTH + 10], drawn);
  EXPECT_EQ(shown[0], 0u);
  window_->PlaceClientPixels(nullptr, Window::Pixels::Kept);
}

}  // namespace
