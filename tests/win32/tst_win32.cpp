// The Win32 backend and the programs' resources, as a user of the Windows build meets them.
// Runs under Wine: tst_win32.exe <alertwright-gen.exe>
#include "alertwright_version.h"
#include "forms/application.h"
#include "forms/color.h"
#include "forms/form.h"
#include "forms/formfile.h"
#include "forms/picturebox.h"
#include "forms/platform.h"
#include "forms/stockcontrols.h"
#include "forms/win32/window.h"

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <windows.h>

namespace {

int checks = 0, failures = 0;
void check(bool ok, const char* what, int line, long long row) {
    ++checks;
    if (!ok && ++failures)
        std::printf("FAIL line %d (row %lld): %s\n", line, row, what);
}
#define CHECK_ROW(cond, row) check((cond), #cond, __LINE__, row)
#define CHECK(cond) CHECK_ROW(cond, -1)

using namespace forms::platform;

// The colours chosen in the system's settings show, red in the low byte.
void systemColours() {
    const int indices[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF chosen[] = {forms::rgbColor(0xFE, 0xF0, 0xE1), forms::rgbColor(0x12, 0x34, 0x56),
                               forms::rgbColor(0xC1, 0xD2, 0xE3),
                               forms::rgbColor(0x65, 0x43, 0x21)};
    COLORREF before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = GetSysColor(indices[i]);
    SetSysColors(4, indices, chosen);
    for (int i = 0; i < 4; ++i)
        CHECK_ROW(forms::resolveColor(forms::systemColor(indices[i])) == chosen[i], indices[i]);
    SetSysColors(4, indices, before);
    CHECK(twipsPerPixelX() == 15.0f && twipsPerPixelY() == 15.0f);
}

void text() {
    // What the controls show in code page 1251; -1 where it has no such character (no look-alike).
    const std::pair<char16_t, int> cp1251[] = {
        {u'Z', 'Z'},  {u'А', 0xC0}, {u'я', 0xFF}, {u'Ё', 0xA8}, {u'ё', 0xB8},
        {u'№', 0xB9}, {u'€', 0x88}, {u'é', -1},   {u'☺', -1},   {0xD800, -1}};
    for (const auto& [ch, code] : cp1251)
        CHECK_ROW(toCp1251(ch) == code, ch);
    // Names compare regardless of case, Cyrillic included; they start with a letter.
    CHECK(foldCase(u"ЁЛКА Ёлка ABC") == u"ёлка ёлка abc");
    const std::tuple<char32_t, bool, bool> classes[] = {
        {U'Ж', true, false}, {U'ё', true, false},  {U'q', true, false}, {U'7', false, true},
        {U'٣', false, true}, {U'_', false, false}, {U'№', false, false}};
    for (const auto& [c, letter, number] : classes)
        CHECK_ROW(isLetter(c) == letter && isNumber(c) == number, c);
}

// The pictures and the form file come out of the program itself, decoded as the Linux build
// decodes them.
void resources() {
    const auto image = decodePicture(readResource(u":/frmMsgGen/question.png").value_or("")).image;
    CHECK(image.width == 41 && image.height == 35);
    const std::tuple<int, int, std::uint32_t> pixels[] = {
        {0, 0, 0xFFD4D0C8}, {20, 0, 0xFF7F93B7}, {10, 7, 0xFFCEE2FA}, {20, 14, 0xFF102E8C}};
    for (const auto& [x, y, argb] : pixels)
        CHECK_ROW(image.valid(x, y) && image.pixel(x, y) == argb, y * 100 + x);
    CHECK(forms::loadPicture(u":/frmAbout/aboutpicture.png")->width() == 41);
    CHECK(!readResource(u":/frmMsgGen/none.png") && !readResource(u":/frmMsgGen"));

    const forms::FormFile form = forms::readFormFile(u":/frmMsgGen/frmMsgGen.json");
    const forms::StoredControl* exit = form.find(u"CMDEXIT");
    CHECK(form.formName == u"frmMsgGen" && form.controls.size() == 3 && exit);
    CHECK(exit && toString(exit->properties.ReadProperty(u"Caption", {})) == u"Выход");
    const forms::PictureRef picture =
        exit ? toPicture(exit->properties.ReadProperty(u"Picture", {})) : nullptr;
    CHECK(picture && picture->width() == 17 && picture->height() == 17);
}

// The desktop program's manifest, built into this one: the common controls of version 6 (the
// system's visual style) and per-monitor DPI awareness.
void manifest() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(LoadLibraryW(L"comctl32.dll"), path, MAX_PATH);
    CHECK(wcsstr(path, L"common-controls") && wcsstr(path, L"_6."));
    CHECK(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()) ==
          DPI_AWARENESS_PER_MONITOR_AWARE);
}

// Explorer shows the program's icon and version 1.3.0 ("1.03" in the version record).
void programResources(const wchar_t* program) {
    std::string info(GetFileVersionInfoSizeW(program, nullptr), '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    wchar_t* record = nullptr;
    UINT size = 0;
    GetFileVersionInfoW(program, 0, info.size(), info.data());
    VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size);
    VerQueryValueW(info.data(), L"\\StringFileInfo\\041904B0\\ProductVersion",
                   reinterpret_cast<void**>(&record), &size);
    CHECK(fixed &&
          fixed->dwFileVersionMS ==
              MAKELONG(ALERTWRIGHT_VERSION_MINOR, ALERTWRIGHT_VERSION_MAJOR) &&
          fixed->dwFileVersionLS == MAKELONG(0, ALERTWRIGHT_VERSION_PATCH));
    wchar_t expected[16];
    swprintf(expected, 16, L"%d.%02d", ALERTWRIGHT_VERSION_MAJOR, ALERTWRIGHT_VERSION_MINOR);
    CHECK(record && std::wstring(record) == expected);
    HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    CHECK(module && LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
}

// A window with a menu, text boxes, option buttons, a default and a cancel button and two picture
// boxes made last but placed earlier in the tab order (one shown only later), given keys as the
// system posts them to the focused control.
template <typename T, typename... A> T* put(forms::Form& form, int top, int height, A... args) {
    return forms::placeControl<T>(form, u"", {0, top, 1500, height}, args...);
}
struct Window : forms::Form {
    forms::TextBox *title = put<forms::TextBox>(*this, 0, 315),
                   *text = put<forms::TextBox>(*this, 400, 900, true);
    forms::OptionButton *a = put<forms::OptionButton>(*this, 1400, 240),
                        *b = put<forms::OptionButton>(*this, 1700, 240);
    forms::CommandButton *ok = put<forms::CommandButton>(*this, 2000, 345),
                         *cancel = put<forms::CommandButton>(*this, 2400, 345);
    forms::PictureBox *box = put<forms::PictureBox>(*this, 2800, 300),
                      *late = put<forms::PictureBox>(*this, 3200, 300);
    std::u16string log;
    std::function<void()> logs(const char16_t* what) {
        return [this, what] { log += what; };
    }
    Window() {
        forms::Menu* menu = addMenu(u"Сообщение");
        menu->addItem(u"Просмотр", {forms::vkFunction(5), {}})->Click.connect(logs(u"F5 "));
        menu->addItem(u"Копировать", {'S', {.control = true}})->Click.connect(logs(u"^S "));
        setClientSizeTwips(5820, 4995);
        a->setValue(true);
        ok->setDefault(true);
        ok->Click.connect(logs(u"ok "));
        cancel->setCancel(true);
        cancel->Click.connect([this] {
            log += u"esc ";
            throw forms::RuntimeError(u"Overflow");
        });
        late->setVisible(false);
        setTabOrder({title, box, text, a, b, ok, late, cancel});
    }
};

HWND hwnd(const forms::WindowedControl* c) {
    return forms::win32::hwndOf(c->peer());
}

void key(HWND to, WPARAM vk, BYTE modifier = 0) {
    BYTE state[256] = {};
    state[modifier] = modifier ? 0x80 : 0;
    SetKeyboardState(state);
    SetFocus(to);
    PostMessageW(to, WM_KEYDOWN, vk, 1);
    forms::DoEvents();
    state[modifier] = 0;
    SetKeyboardState(state);
}

void windows() {
    if (HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, 0, 0, 0, 0))
        DestroyWindow(probe);
    else
        return (void)std::printf("windows skipped: no display\n");
    std::u16string reported;
    forms::Application::setErrorReporter([&](const std::u16string& t) { reported = t; });
    auto* w = new Window;
    w->Show();
    w->late->setVisible(true);
    forms::DoEvents();
    HWND frame = GetAncestor(hwnd(w), GA_ROOT);
    RECT client{};
    GetClientRect(frame, &client);
    wchar_t item[64] = L"";
    GetMenuStringW(GetSubMenu(GetMenu(frame), 0), 1, item, 64, MF_BYPOSITION);
    CHECK(client.right == 388 && client.bottom == 333 &&
          std::wstring(item) == L"Копировать\tCtrl+S");
    // Shortcuts anywhere, Enter and Esc for the default and cancel buttons unless the focused
    // control takes the key; Tab moves on, never typed; an error in a handler is reported.
    using W = forms::WindowedControl*;
    // clang-format off
    const std::tuple<W, WPARAM, BYTE, const char16_t*, W> keys[] = {
        {w->title, VK_F5, 0, u"F5 ", w->title},     {w->text, 'S', VK_CONTROL, u"^S ", w->text},
        {w->title, VK_RETURN, 0, u"ok ", w->title}, {w->text, VK_RETURN, 0, u"", w->text},
        {w->b, VK_RETURN, 0, u"ok ", w->b},         {w->cancel, VK_RETURN, 0, u"esc ", w->cancel},
        {w->text, VK_ESCAPE, 0, u"esc ", w->text},  {w->title, VK_TAB, 0, u"", w->box},
        {w->box, VK_TAB, 0, u"", w->text},          {w->text, VK_TAB, 0, u"", w->a},
        {w->a, VK_TAB, VK_SHIFT, u"", w->text},     {w->ok, VK_TAB, 0, u"", w->late},
        {w->late, VK_TAB, 0, u"", w->cancel},       {w->cancel, VK_TAB, VK_SHIFT, u"", w->late}};
    // clang-format on
    for (const auto& row : keys) {
        const auto& [to, vk, modifier, log, focus] = row;
        w->log.clear();
        key(hwnd(to), vk, modifier);
        CHECK_ROW(w->log == log && GetFocus() == hwnd(focus), &row - keys);
    }
    CHECK(w->text->Text() == u"\r\n" && !reported.empty());
    // The control chooses among option buttons, for a click and for an arrow.
    SendMessageW(hwnd(w->b), BM_CLICK, 0, 0);
    key(hwnd(w->b), VK_UP);
    CHECK(w->a->Value() && !w->b->Value() && SendMessageW(hwnd(w->b), BM_GETCHECK, 0, 0) == 0);
    w->Unload();
    forms::DoEvents();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int none = 0;
    forms::Application application(none, nullptr);
    for (auto section : {systemColours, text, resources, manifest, windows})
        try {
            section();
        } catch (const std::exception& e) {
            ++failures;
            std::printf("FAIL: %s\n", e.what());
        }
    programResources(argc > 1 ? argv[1] : L"");
    std::printf("tst_win32: %d checks, %d failed\n", checks, failures);
    return failures ? 1 : 0;
}
