// The reader's whole state: one record, one instance per running reader, owned by
// the Reader context. Text fields hold Shift-JIS bytes at their stored widths,
// because cuts at a field's width and bytes left behind a terminator are part of
// how novels behave.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/files/novel_file.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/font.h"
#include "platform/gdi/surface.h"
#include "platform/win32_types.h"

constexpr int SCRIPT_LINE_COUNT = 700;
constexpr int SCRIPT_LINE_SIZE = 256;
constexpr int CHOICE_COUNT = 5;
constexpr int CHOICE_TEXT_SIZE = 255;  // the slots are 255 bytes apart, not 256
constexpr int TOC_COUNT = 20;
constexpr int BOOKMARK_COUNT = 5;
constexpr int MENU_TEXT_SIZE = 100;
constexpr int NO_CHOICE = 5;

using ScriptTable = char[SCRIPT_LINE_COUNT][SCRIPT_LINE_SIZE];

// The picture of the next click's first "BMP" line, read while the reader waited for
// the click, and the name and file it was read from.
struct PictureAhead {
  std::string name_sjis;
  NovelFile file;
  std::unique_ptr<Bitmap> picture;
};

enum ReaderMode : std::int32_t {
  ModeCooldown = 0,
  ModeReady = 1,
  ModeChoosing = 2,
  ModeFinished = 3,
};

constexpr UINT TIMER_MIDI_LOOP = 300;
constexpr UINT TIMER_COOLDOWN = 301;
constexpr UINT TIMER_CD_LOOP = 302;
constexpr UINT TIMER_SKIP = 303;
// The reader's own timers beside the four above: auto mode's wait after a paragraph,
// and the short hold of Ctrl before it skips (so that Ctrl+C does not skip).
constexpr UINT TIMER_AUTO = 304;
constexpr UINT TIMER_HOLD_SKIP = 305;
// The status strip's note (the volume's level, a screenshot's outcome), cleared a
// moment after it was shown.
constexpr UINT TIMER_STRIP_NOTE = 306;

constexpr int IDM_FULLSCREEN = 400;
constexpr int IDM_EXIT = 401;
constexpr int IDM_TOC_FIRST = 500;
constexpr int IDM_SKIP = 520;
constexpr int IDM_BOOKMARK_SAVE_FIRST = 600;
constexpr int IDM_BOOKMARK_LOAD_FIRST = 605;
constexpr int IDM_CANCEL = 700;
constexpr int IDM_BACK_PAGE = 800;
// Not in the menu: R and --continue open the novel where the reader stopped.
constexpr int IDM_CONTINUE = 810;
// Not in the menu either: O opens another novel, and the start without one and
// without a desktop chooser shows yomu's own list of novels, whose entries are
// numbered from IDM_NOVEL_FIRST.
constexpr int IDM_OPEN_NOVEL = 811;
constexpr UINT IDM_NOVEL_FIRST = 900;

struct ReaderState {
  // Script and position. The line table, the record's largest field, lies on the heap.
  std::unique_ptr<ScriptTable[]> LineTableMemory{new ScriptTable[1]()};
  ScriptTable& ScriptLines = LineTableMemory[0];
  char ScriptFileName[100] = "\x83\x5e\x83\x43\x83\x67\x83\x8b.txt";  // タイトル.txt
  std::int32_t CurrentLine = 0;
  std::int32_t WaitPending = 0;
  std::int32_t FadeMode = 0;
  std::int32_t ChoiceBlockIndex = 0;
  char ChoiceTexts[CHOICE_COUNT][CHOICE_TEXT_SIZE] = {};
  std::int32_t HoverChoice = NO_CHOICE;
  std::int32_t Mode = ModeCooldown;
  std::int32_t SkipMode = 0;

  // Text and pages. TextRect.top is the text cursor, TextTop.
  std::int32_t FontHeight = 0;
  std::int32_t TextBrightness = 100;
  RECT TextRect = {5, 5, 635, 480};
  RECT LabelRect = {0, 60, 400, 80};
  RECT ReplayRect = {5, 5, 635, 480};
  RECT ReplayLabelRect = {0, 60, 400, 80};
  std::int32_t PageNumber = 0;
  char ChapterTitle[56] = {};

  // Drawing. WindowDC is borrowed from the window while a run or a paint draws.
  Surface* WindowDC = nullptr;
  std::unique_ptr<Surface> PageSurface;
  std::unique_ptr<Surface> StatusSurface;
  std::unique_ptr<Surface> PictureSurface;
  std::unique_ptr<Bitmap> PageBitmap;
  std::unique_ptr<Bitmap> StatusBitmap;
  std::unique_ptr<Bitmap> PictureBitmap;
  // A picture covering the page is kept only as the background half of PageBitmap.
  bool PictureInBackground = false;
  PictureAhead NextPicture;
  std::unique_ptr<Font> FontNormal;
  std::unique_ptr<Font> FontLarge;
  std::unique_ptr<Font> FontSmall;
  std::unique_ptr<Font> FontStrip;  // the status strip's indicators, readable at scale 1

  // Sound.
  std::int32_t CdTrack = 0;
  char CdCommand[256] = {};
  char MciReply[1024] = {};
  char WorkingDirectory[256] = {};

  // Menu data.
  char TocLabels[TOC_COUNT][MENU_TEXT_SIZE] = {};
  char TocFiles[TOC_COUNT][MENU_TEXT_SIZE] = {};
  char BookmarkLabels[BOOKMARK_COUNT][MENU_TEXT_SIZE] = {};
  char BookmarkPages[BOOKMARK_COUNT][MENU_TEXT_SIZE] = {};
  char BookmarkFiles[BOOKMARK_COUNT][MENU_TEXT_SIZE] = {};

  // Display.
  std::int32_t IsFullScreen = 0;
  DEVMODEA DisplayMode = {};
  std::int32_t ModeIndex = 0;

  std::int32_t& TextTop() { return TextRect.top; }
  std::int32_t& ReplayTop() { return ReplayRect.top; }
};

const char* ReaderModeName(std::int32_t mode);
