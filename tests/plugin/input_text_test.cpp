// Every filter reads the host's text through InputText, whose length scan
// works a block at a time: lengths and starting points around the block.
#include <gtest/gtest.h>

#include <vector>

#include "plugin/filters.h"

namespace {

TEST(InputText, FindsTheTerminatorWhereverTheTextStartsAndEnds) {
  std::vector<char16_t> buffer(128, u'x');
  for (std::size_t start = 0; start < 9; ++start) {
    for (std::size_t length = 0; length < 50; ++length) {
      std::fill(buffer.begin(), buffer.end(), u'x');
      buffer[start + length] = u'\0';
      TFilterExecInfo info{};
      info.Text = buffer.data() + start;
      const std::u16string_view text = quornel::plugin::InputText(&info);
      ASSERT_EQ(text.size(), length) << "start " << start;
      ASSERT_EQ(text.data(), buffer.data() + start);
    }
  }
  TFilterExecInfo none{};
  EXPECT_TRUE(quornel::plugin::InputText(&none).empty());
  EXPECT_TRUE(quornel::plugin::InputText(nullptr).empty());
}

}  // namespace
