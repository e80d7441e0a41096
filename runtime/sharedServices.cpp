#include "sharedServices.h"

#include "base/asciiText.h"
#include "memoryStream.h"
#include "platform/messageBox.h"
#include "platform/resources.h"

void ShowDebugString(const std::string& text) { platform::ShowMessageBox(text, "String-Debug"); }

std::unique_ptr<TMemoryStream> LoadResourceStream(const std::string& name) {
    const auto bytes = platform::FindModuleResource(name, platform::ResourceTypeStream);
    return bytes ? std::make_unique<TMemoryStream>(*bytes) : std::make_unique<TMemoryStream>();
}

int PosFrom(std::string_view sub, std::string_view s, int from) {
    if (sub.empty() || from < 1) return 0;
    const size_t found = s.find(sub, size_t(from - 1));
    return found == std::string_view::npos ? 0 : int(found) + 1;
}

std::string ReplaceAll(std::string s, std::string_view sub, std::string_view repl, const TReplaceFilter& filter) {
    int from = 1;
    for (;;) {
        const int pos = PosFrom(sub, s, from);
        if (pos == 0) return s;
        if (!filter || filter(s, pos)) {
            s.replace(size_t(pos - 1), sub.size(), repl);
            from = pos + int(repl.size());
        } else {
            from = pos + 1;
        }
    }
}

int CompareTextAscii(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return int(static_cast<unsigned char>(AsciiUpper(c))); };
    // The comparison ends at a text's end or at its first zero byte.
    size_t i = 0;
    for (;; ++i) {
        const int ca = i < a.size() ? fold(a[i]) : 0;
        const int cb = i < b.size() ? fold(b[i]) : 0;
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
}
