#pragma once
// Tree paths of page captions: "::" separates levels; a "::" preceded by an
// odd number of backslashes is part of the level's text.
#include <string>
#include <string_view>

struct ItemPathStep {
  std::string head;  // the first level, unescaped
  std::string rest;  // the text after the first separator; empty without one
};

// Splits off the first level. In the head, "\::" becomes "::" and "\\"
// becomes "\". Every call with a separator consumes it, so repeated splitting
// of the rest always ends.
ItemPathStep SplitItemPath(std::string_view text);
