#pragma once
// Loads libsentrell.so by name and fills the function table from its exports.
#include <string>
#include <vector>

#include "demo/shell/sentrell_api.h"

struct ApiBinding {
  bool loaded = false;
  std::string libraryPath;           // the candidate that opened
  std::string loadError;             // why the last candidate did not open
  std::vector<std::string> missing;  // exports the loaded library lacks
};

// Where the program looks for the library: beside the executable, in the
// build's lib folder next to it, then by name on the loader's search path
// (LD_LIBRARY_PATH and the executable's run path).
std::vector<std::string> DefaultLibraryCandidates(const std::string& programDir);

// Opens the first candidate that loads and binds every export of the table.
// The library stays loaded for the rest of the process. Exports it does not
// have, and all exports when no candidate loads, become missing exports.
ApiBinding BindSentrellApi(const std::vector<std::string>& candidates, SentrellApi& api);

// The log lines that report a binding: one line when the library did not
// load, one line per missing export otherwise, none when all is bound.
std::vector<std::string> BindingReport(const ApiBinding& binding);
