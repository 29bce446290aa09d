#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

inline constexpr int exitSuccess = 0;
inline constexpr int exitBadInput = 2;

struct CommandResult {
    int exitStatus = exitSuccess;
    std::string standardOutput; // the generated code as UTF-8, or the help or version text
    std::string standardError;  // one line on bad input, else empty
};

// Runs `alertwright-gen` with `args` (the arguments after the program name, as raw bytes).
// `standardInput` is read only for `--text-file -`.
CommandResult runGenerateCommand(const std::vector<std::string>& args, std::istream& standardInput);

// What --help prints.
std::string usageText();

} // namespace cli
