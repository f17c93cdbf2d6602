#pragma once

#include <string>

class CFlow;

namespace flow {

// `name` inside `directory` (the name alone when the directory is empty).
std::string TestFilePath(const std::string& directory, const char* name);

// The hidden flow test files: fits every invalid fit of the configuration,
// writes them to "1-gas.txt" or "1-liquid.txt" and the coefficient array to
// "162-send.txt", all in `directory` (empty: the current directory). A
// configuration without a bore gets a test geometry first. Shows
// "No Flow Application" for a null configuration. Returns false after a
// failure whose message has been shown; a failure of another kind (a unit
// that cannot be converted) is passed on to the caller to report, with test
// mode cleared.
bool WriteFlowTestFiles(CFlow* flow, const std::string& directory);

}  // namespace flow
