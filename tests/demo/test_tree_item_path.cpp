// Splitting page captions into tree levels.
#include <gtest/gtest.h>

#include "demo/shell/tree_item_path.h"

namespace {

TEST(TreeItemPath, SplitsAtTheFirstUnescapedSeparator) {
  struct Case {
    std::string text;
    std::string head;
    std::string rest;
  };
  const std::vector<Case> cases = {
      {"家用电器", "家用电器", ""},
      {"家用电器::电视", "家用电器", "电视"},
      {"A::B::C", "A", "B::C"},
      {"X\\::Y", "X::Y", ""},          // escaped: one level "X::Y"
      {"X\\\\::Y", "X\\", "Y"},        // an escaped backslash, then a separator
      {"X\\\\\\::Y", "X\\::Y", ""},    // three backslashes: escaped again
      {"X\\::Y::Z", "X::Y", "Z"},
      {"a\\b", "a\\b", ""},            // a lone backslash stays
      {"::A", "", "A"},
      {"A::", "A", ""},
      {"::", "", ""},
      {"", "", ""},
      {"A:B", "A:B", ""},
      {"A:::B", "A", ":B"},
  };
  for (const Case& c : cases) {
    const ItemPathStep step = SplitItemPath(c.text);
    EXPECT_EQ(step.head, c.head) << c.text;
    EXPECT_EQ(step.rest, c.rest) << c.text;
  }
}

TEST(TreeItemPath, RepeatedSplittingEnds) {
  for (const std::string text : {"::::::", "::A::::B::", "\\\\::\\\\::\\\\::"}) {
    std::string rest = text;
    int steps = 0;
    while (!rest.empty() && steps <= static_cast<int>(text.size())) {
      rest = SplitItemPath(rest).rest;
      ++steps;
    }
    EXPECT_TRUE(rest.empty()) << text;
  }
}

}  // namespace
