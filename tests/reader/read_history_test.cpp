// The history of paragraphs read: bounded, each keeping its number.
#include <gtest/gtest.h>

#include "reader/read_history.h"

namespace {

TEST(ReadHistory, KeepsTheNewestWithTheirNumbers) {
  ReadHistory history;
  for (std::size_t k = 0; k < READ_HISTORY_SIZE + 5; ++k) history.Add(std::to_string(k));
  EXPECT_EQ(history.first(), 5u);
  EXPECT_EQ(history.newest(), READ_HISTORY_SIZE + 4);
  EXPECT_EQ(history.At(5), "5");
  EXPECT_FALSE(history.Holds(4));
  EXPECT_FALSE(history.Holds(READ_HISTORY_SIZE + 5));
}

}  // namespace
