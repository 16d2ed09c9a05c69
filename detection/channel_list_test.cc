#include "detection/channel_list.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

std::vector<int> Range(int lo, int hi) {
  std::vector<int> v;
  for (int i = lo; i <= hi; ++i) v.push_back(i);
  return v;
}

TEST(ParseChannelList, TheSyntaxOfTheDialog) {
  struct Case { const char* text; std::vector<int> channels; };
  std::vector<int> example = Range(0, 9);
  example.push_back(15);
  example.push_back(20);
  std::vector<int> dup = {5};
  for (int i = 0; i <= 9; ++i) dup.push_back(i);
  const Case cases[] = {
      {"0-9, 15, 20", example}, {" 3 - 5 ", {3, 4, 5}}, {"9-7", {7, 8, 9}},  {"1-2-3", {}},
      {"abc", {}},              {"1,2,", {1, 2}},        {"5, 0-9", dup},     {"-5", {}},
      {"a-3", {}},              {"5x", {5}},             {"", {}},            {",,,", {}},
      {"1, 1", {1, 1}},         {"+4", {4}},             {"\xff\xfe, 7", {7}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseChannelList(c.text, 1024), c.channels) << c.text;
}

TEST(ParseChannelList, StaysBoundedOnHostileText) {
  EXPECT_EQ(ParseChannelList("0-2147483647", 512).size(), 512u);
  EXPECT_EQ(ParseChannelList("0-512", 512), Range(0, 511));
  EXPECT_EQ(ParseChannelList("2147483647-2147483646", 10), (std::vector<int>{2147483646, 2147483647}));
  EXPECT_TRUE(ParseChannelList("99999999999999999999", 10).empty());  // does not fit an int
  std::string many;
  for (int i = 0; i < 200000; ++i) many += std::to_string(i % 7) + ",";
  EXPECT_EQ(ParseChannelList(many, 512).size(), 512u);
  const std::string longPiece = std::string(28, ' ') + "12345";  // read up to 29 characters: " ... 1"
  EXPECT_EQ(ParseChannelList(longPiece, 10), std::vector<int>{1});
  EXPECT_TRUE(ParseChannelList("1,2", 0).empty());
}

TEST(FormatChannelList, CanonicalRuns) {
  std::vector<int> example = Range(0, 9);
  example.push_back(15);
  example.push_back(20);
  EXPECT_EQ(FormatChannelList(example), "0-9,15,20");
  EXPECT_EQ(FormatChannelList({0, 2, 3, 4, 7}), "0,2-4,7");
  EXPECT_EQ(FormatChannelList({0, 1, 2, 5, 6}), "0-2,5-6");
  EXPECT_EQ(FormatChannelList({5, 0, 1, 2}), "5,0-2");
  EXPECT_EQ(FormatChannelList({1, 1}), "1,1");
  EXPECT_EQ(FormatChannelList({3, 4}), "3-4");
  EXPECT_EQ(FormatChannelList({}), "");
  EXPECT_EQ(FormatChannelList({2147483647, 0}), "2147483647,0");
}

}  // namespace
}  // namespace zentrova
