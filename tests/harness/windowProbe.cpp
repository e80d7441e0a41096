// windowProbe: reads back and pokes the windows of a running program, for the
// end-to-end test of the window program. xdotool drives the real input but
// cannot read texts, states or a progress position; this tool can, because
// it runs inside the same Wine session and asks the window system directly.
//
// usage:
//   windowProbe top                    the visible top-level windows: class, caption
//   windowProbe list CAPTION           the window and every child control of it
//   windowProbe close CAPTION          post WM_CLOSE to the window
//   windowProbe sysclose CAPTION       post WM_SYSCOMMAND SC_CLOSE (the title-bar close)
//   windowProbe click CAPTION TEXT     post BM_CLICK to the child button captioned TEXT
//   windowProbe focus CAPTION          where the window's thread keeps the focus:
//                                      class and text of the control ("window" for the
//                                      window itself, "elsewhere" or "none" with an empty
//                                      text), then 1 when the window is its thread's
//                                      active window, tab-separated
//   windowProbe appclose CAPTION       post WM_SYSCOMMAND SC_CLOSE to the window's owner,
//                                      as the task bar's "Close window" does for a program
//                                      whose button belongs to a hidden owner window
// Each control is one line, fields separated by tabs:
//   class  visible(0/1)  enabled(0/1)  x,y,w,h  position  text  items
// where position is a progress bar's position or a combo box's selected index
// (-1 otherwise), items a combo box's list joined by '|' (empty otherwise),
// the rectangle relative to the window's client area and the text is UTF-8.
// Exit status: 0 done, 1 window or button not found, 2 usage error.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    // One control a line: line breaks inside a text would split the record.
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return out;
}

// Asked with WM_GETTEXT rather than GetWindowText: across processes the
// latter answers only the stored window name, which an edit control's
// text is not.
std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 255);
    return name;
}

struct Search {
    std::wstring caption;
    HWND found = nullptr;
};

// The first visible top-level window with the caption; an invisible one of
// the same caption (a framework's hidden application window) does not count.
BOOL CALLBACK matchTop(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (IsWindowVisible(window) && windowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findTop(const std::wstring& caption) {
    Search search{caption};
    EnumWindows(matchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectChild(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

void printControl(HWND window, HWND origin) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, origin, reinterpret_cast<POINT*>(&rect), 2);
    std::wstring cls = className(window);
    long position = -1;
    std::wstring items;
    if (_wcsicmp(cls.c_str(), PROGRESS_CLASSW) == 0) {
        position = static_cast<long>(SendMessageW(window, PBM_GETPOS, 0, 0));
    } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        position = static_cast<long>(SendMessageW(window, CB_GETCURSEL, 0, 0));
        long count = static_cast<long>(SendMessageW(window, CB_GETCOUNT, 0, 0));
        for (long i = 0; i < count; ++i) {
            long length = static_cast<long>(SendMessageW(window, CB_GETLBTEXTLEN, i, 0));
            if (length < 0) continue;
            std::wstring item(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(length));
            if (i > 0) items += L'|';
            items += item;
        }
    }
    std::printf("%s\t%d\t%d\t%ld,%ld,%ld,%ld\t%ld\t%s\t%s\n", toUtf8(cls).c_str(), IsWindowVisible(window) ? 1 : 0,
                IsWindowEnabled(window) ? 1 : 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                position, toUtf8(windowText(window)).c_str(), toUtf8(items).c_str());
}

BOOL CALLBACK printTop(HWND window, LPARAM) {
    if (IsWindowVisible(window))
        std::printf("%s\t%s\n", toUtf8(className(window)).c_str(), toUtf8(windowText(window)).c_str());
    return TRUE;
}

int listTop() {
    EnumWindows(printTop, 0);
    return 0;
}

int listWindow(HWND window) {
    // The window's own line gives its rectangle on the screen.
    printControl(window, HWND_DESKTOP);
    for (HWND child : children(window)) printControl(child, window);
    return 0;
}

int clickButton(HWND window, const std::wstring& text) {
    for (HWND child : children(window)) {
        if (_wcsicmp(className(child).c_str(), L"Button") == 0 && windowText(child) == text) {
            // Posted, not sent: the click may end the program, and the probe
            // must not wait on a window that is going away.
            PostMessageW(child, BM_CLICK, 0, 0);
            return 0;
        }
    }
    std::fprintf(stderr, "windowProbe: no button with that text\n");
    return 1;
}

int showFocus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
    if (!info.hwndFocus)
        std::printf("none\t");
    else if (info.hwndFocus == window)
        std::printf("window\t");
    else if (IsChild(window, info.hwndFocus))
        std::printf("%s\t%s", toUtf8(className(info.hwndFocus)).c_str(), toUtf8(windowText(info.hwndFocus)).c_str());
    else
        std::printf("elsewhere\t");
    std::printf("\t%d\n", info.hwndActive == window ? 1 : 0);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: windowProbe top | list CAPTION | close CAPTION | sysclose CAPTION | "
                 "click CAPTION TEXT | focus CAPTION | appclose CAPTION\n");
    return 2;
}

}  // namespace

int main() {
    // The arguments as the wide strings the window texts are compared with:
    // the narrow argv would pass through the ANSI code page first.
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 2) return usage();
    std::vector<std::wstring> arg(args, args + count);
    LocalFree(args);

    const std::wstring& command = arg[1];
    if (command == L"top") return listTop();
    if (count < 3) return usage();
    HWND window = findTop(arg[2]);
    if (!window) {
        std::fprintf(stderr, "windowProbe: no visible window with that caption\n");
        return 1;
    }
    if (command == L"list") return listWindow(window);
    if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == L"sysclose") return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    if (command == L"click" && count >= 4) return clickButton(window, arg[3]);
    if (command == L"focus") return showFocus(window);
    if (command == L"appclose") {
        HWND owner = GetWindow(window, GW_OWNER);
        return owner && PostMessageW(owner, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    return usage();
}
