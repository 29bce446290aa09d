#include "forms/platform.h"

#include <climits>
#include <windows.h>

// The PNG decoder alone, reading from memory only.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

// Resources built into the program and PNG pictures, without a toolkit.
namespace forms::platform {

namespace {

// The toolkit build refuses images over 256 MB; so does this one, before it allocates them.
constexpr long long maxImageBytes = 256ll * 1024 * 1024;

std::u16string latin1(const char* text) {
    std::u16string out;
    for (; text && *text; ++text)
        out += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return out;
}

} // namespace

// ":/frmMsgGen/cmdExit.png" is the RCDATA resource named "frmMsgGen/cmdExit.png": the path
// without ":/", as resources.rc names it. Windows compares resource names regardless of case.
std::optional<std::string> readResource(const std::u16string& path) {
    if (path.size() < 3 || path.compare(0, 2, u":/") != 0)
        return std::nullopt;
    const std::u16string name = path.substr(2);
    const auto* wideName = reinterpret_cast<LPCWSTR>(name.c_str());
    HRSRC found = FindResourceW(nullptr, wideName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    return std::string(static_cast<const char*>(data), SizeofResource(nullptr, found));
}

DecodedPicture decodePicture(std::string_view bytes) {
    if (bytes.size() > INT_MAX)
        return {{}, u"the file is too large"};
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels))
        return {{}, u"not a PNG image (" + latin1(stbi_failure_reason()) + u")"};
    if (4ll * width * height > maxImageBytes)
        return {{}, u"the image is too large"};
    stbi_uc* rgba = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (!rgba)
        return {{}, u"damaged PNG image (" + latin1(stbi_failure_reason()) + u")"};
    PixelImage image(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        image.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
    stbi_image_free(rgba);
    return {std::move(image), {}};
}

} // namespace forms::platform
