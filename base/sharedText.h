// A text that one thread may replace while another reads it: replaced as a
// whole, never changed in place.
#pragma once

#include <memory>
#include <string>

#include "published.h"

class TSharedText {
public:
    TSharedText() : text_(std::make_shared<const std::string>()) {}
    TSharedText(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}
    TSharedText(const char* text) : TSharedText(std::string(text)) {}
    TSharedText(const TSharedText&) = delete;
    TSharedText& operator=(const TSharedText&) = delete;

    TSharedText& operator=(std::string text) {
        text_.Store(std::make_shared<const std::string>(std::move(text)));
        return *this;
    }

    TSharedText& operator=(const char* text) { return *this = std::string(text); }

    // The text as it stands now; it stays valid however often it is replaced.
    std::shared_ptr<const std::string> Load() const { return text_.Load(); }
    std::string Get() const { return *text_.Load(); }

private:
    TPublished<const std::string> text_;
};
