#include "cli/generatecommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const cli::CommandResult result =
        cli::runGenerateCommand(std::vector<std::string>(argv + 1, argv + argc), std::cin);
    std::fwrite(result.standardError.data(), 1, result.standardError.size(), stderr);
    std::fwrite(result.standardOutput.data(), 1, result.standardOutput.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("alertwright-gen: cannot write to standard output\n", stderr);
        return 1;
    }
    return result.exitStatus;
}
