#include "cli/generatecommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

int run(const std::vector<std::string>& args) {
    std::ios::sync_with_stdio(false);
    const cli::CommandResult result = cli::runGenerateCommand(args, std::cin);
    std::fwrite(result.standardError.data(), 1, result.standardError.size(), stderr);
    std::fwrite(result.standardOutput.data(), 1, result.standardOutput.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("alertwright-gen: cannot write to standard output\n", stderr);
        return 1;
    }
    return result.exitStatus;
}

} // namespace

#ifdef _WIN32
// Windows hands main() its arguments in the ANSI code page, where Cyrillic becomes '?': take them
// as UTF-16 and pass them on as UTF-8, as on Linux. The streams are binary, so a CR LF read stays
// one line break and the code's CR LF is not written as CR CR LF.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1)
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    return run(args);
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
