#include "stringList.h"

namespace fw {

void TStringList::SetText(std::string_view text) {
    items_.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            items_.emplace_back(text.substr(start));
            break;
        }
        items_.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n') ++start;
    }
}

std::string TStringList::GetText() const {
    std::string text;
    for (const auto& item : items_) {
        text += item;
        text += "\r\n";
    }
    return text;
}

}  // namespace fw
