#pragma once
// The running test's name as one path component: a parameterised test's
// name holds a '/', which would make a nested folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace testsupport {

inline std::string FlatTestName() {
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

}  // namespace testsupport
