// An ordered list of strings that can be set from, and read back as, one
// text of lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TStringList {
public:
    // A line ends at CR; an LF right after that CR belongs to the break, an
    // LF anywhere else is part of the line. A final break adds no empty line.
    void SetText(std::string_view text);
    // Every item followed by CR LF.
    std::string GetText() const;

    int Count() const { return int(items_.size()); }
    const std::string& Item(int index) const { return items_[size_t(index)]; }
    void Add(std::string item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }

private:
    std::vector<std::string> items_;
};

}  // namespace fw
