// Novels of arbitrary bytes: whatever a script, a bookmark file or a contents file
// holds, the reader reads, draws, replays and ends without a fault.
#include <gtest/gtest.h>

#include <random>

#include "support/novel.h"

namespace {

// Lines that begin with every command's bytes, followed by runs of bytes that
// stress the columns: digits, signs, quotes, lead bytes without trails, NULs.
std::string RandomScript(std::mt19937& random) {
  static const char* const STARTS[] = {
      "SEE", "Q", ">", "FI ", "}", "CD ", "WAV \"", "MID 00", "BMP \"", "FC", "SET", "BO", "C", "F",
      "T ", "E", "M", "/", "\n", "<", "0\"", "1", "\x82\xa0", "\x83", " ", "F-", "CD 99 9999"};
  static constexpr char BYTES[] = {'0', '9',    '-',    '+',  '"',  ' ',  '\\',
                                   '\x81', '\x5c', '\xff', '\0', '\r', 'a', ','};
  std::string script;
  const int lines = std::uniform_int_distribution<int>(1, 120)(random);
  for (int i = 0; i < lines; ++i) {
    script += STARTS[random() % std::size(STARTS)];
    const int tail = std::uniform_int_distribution<int>(0, random() % 8 == 0 ? 400 : 30)(random);
    for (int k = 0; k < tail; ++k) script += BYTES[random() % sizeof BYTES];
    script += '\n';
  }
  return script;
}

TEST(RandomNovels, ReadToTheEndWithoutAFault) {
  std::mt19937 random(20261206);
  const std::string events =
      "click 1 1\nwait 60\nmove 5 110\nclick 5 110\nwait 120\ncommand 520\nwait 400\n"
      "click 1 1\nwait 60\ncommand 600\ncommand 800\nwait 60\ncommand 605\nwait 60\n"
      "command 500\nwait 60\ncommand 400\nrclick 3 3\npick none\nclick 1 1\nwait 60\nstate\n";
  for (int novel_number = 0; novel_number < 60; ++novel_number) {
    Novel novel;
    novel.WriteBytes(ToShiftJis("タイトル.txt"), RandomScript(random));
    novel.WriteBytes(ToShiftJis("ファイル.txt"), RandomScript(random));
    novel.WriteBytes(ToShiftJis("しおり.sio"), RandomScript(random));
    ReaderRun run = RunNovel(novel, events);
    ASSERT_EQ(run.exit_code, 0) << "novel " << novel_number << ": " << run.errors;
  }
}

}  // namespace
