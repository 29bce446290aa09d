// Any bytes as a stored form file: the reader returns a form or throws its error, never crashes.
#include "forms/formfile.h"

#include <QCoreApplication>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_formfile";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    try {
        const auto form = forms::parseFormFile(
            std::string_view(reinterpret_cast<const char*>(data), size), u":/fuzz/frmFuzz.json");
        (void)form;
    } catch (const forms::RuntimeError&) {
    }
    return 0;
}
