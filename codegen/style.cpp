#include "codegen/style.h"

#include "codegen/buttonsets.h"

#include <array>

namespace codegen {

namespace {

constexpr std::int32_t buttonsMask = 0xF, iconMask = 0xF0, defaultMask = 0xF00,
                       modalityMask = 0x3000, helpBit = 0x4000, rightBit = 0x80000,
                       rtlBit = 0x100000;

// Every group of bits the platform gives a meaning, lowest first, then all above them.
constexpr std::array<std::int32_t, 12> partMasks{
    buttonsMask, iconMask, defaultMask, modalityMask, helpBit, 0x8000,
    0x10000,     0x20000,  0x40000,     rightBit,     rtlBit,  ~std::int32_t{0x1FFFFF}};

std::optional<std::u16string_view> constantName(std::int32_t mask, std::int32_t part) {
    for (const StyleConstant& c : styleConstants())
        if (c.mask == mask && c.value == part)
            return c.name;
    return std::nullopt;
}

} // namespace

std::int32_t styleValue(const StyleParts& parts) {
    return parts.icon + parts.buttonSet + (parts.defaultButton - 1) * 256 +
           (parts.systemModal ? 4096 : 0) + (parts.helpButton ? helpBit : 0) +
           (parts.right ? rightBit : 0) + (parts.rtl ? rtlBit : 0);
}

StyleSplit splitStyle(std::int32_t value) {
    StyleSplit split;
    StyleParts& p = split.parts;
    for (const std::int32_t mask : partMasks) {
        const std::int32_t part = value & mask;
        if (part == 0)
            continue;
        bool kept = true;
        if (mask == buttonsMask && part <= 5)
            p.buttonSet = static_cast<std::int16_t>(part);
        else if (mask == iconMask && part <= 64)
            p.icon = static_cast<std::int16_t>(part);
        else if (mask == defaultMask && part / 256 < buttonCount(p.buttonSet))
            p.defaultButton = part / 256 + 1;
        else if (mask == modalityMask && part == 4096)
            p.systemModal = true;
        else if (mask == helpBit)
            p.helpButton = true;
        else if (mask == rightBit)
            p.right = true;
        else if (mask == rtlBit)
            p.rtl = true;
        else
            kept = false;
        if (!kept) {
            const auto name = constantName(mask, part);
            split.ignored.push_back(name ? std::string(name->begin(), name->end())
                                         : std::to_string(part));
        }
    }
    return split;
}

const std::vector<StyleConstant>& styleConstants() {
    static const std::vector<StyleConstant> constants{
        {u"vbOKOnly", 0, buttonsMask},
        {u"vbOKCancel", 1, buttonsMask},
        {u"vbAbortRetryIgnore", 2, buttonsMask},
        {u"vbYesNoCancel", 3, buttonsMask},
        {u"vbYesNo", 4, buttonsMask},
        {u"vbRetryCancel", 5, buttonsMask},
        {u"vbCritical", 16, iconMask},
        {u"vbQuestion", 32, iconMask},
        {u"vbExclamation", 48, iconMask},
        {u"vbInformation", 64, iconMask},
        {u"vbDefaultButton1", 0, defaultMask},
        {u"vbDefaultButton2", 256, defaultMask},
        {u"vbDefaultButton3", 512, defaultMask},
        {u"vbDefaultButton4", 768, defaultMask},
        {u"vbApplicationModal", 0, modalityMask},
        {u"vbSystemModal", 4096, modalityMask},
        {u"vbMsgBoxHelpButton", helpBit, helpBit},
        {u"vbMsgBoxSetForeground", 0x10000, 0x10000},
        {u"vbMsgBoxRight", rightBit, rightBit},
        {u"vbMsgBoxRtlReading", rtlBit, rtlBit},
    };
    return constants;
}

std::optional<std::vector<std::u16string_view>> styleConstantNames(std::int32_t value) {
    std::vector<std::u16string_view> names;
    for (const std::int32_t mask : partMasks) {
        if ((value & mask) == 0)
            continue;
        const auto name = constantName(mask, value & mask);
        if (!name)
            return std::nullopt;
        names.push_back(*name);
    }
    if (names.empty())
        names.push_back(u"vbOKOnly");
    return names;
}

std::optional<std::u16string_view> answerConstant(char16_t returnCode) {
    constexpr std::array<std::u16string_view, 7> answers{
        u"vbOK", u"vbCancel", u"vbAbort", u"vbRetry", u"vbIgnore", u"vbYes", u"vbNo"};
    if (returnCode < u'1' || returnCode > u'7')
        return std::nullopt;
    return answers[returnCode - u'1'];
}

} // namespace codegen
