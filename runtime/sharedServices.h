// Services every element may use: a debugging message, the module's
// resources as streams, and the text helpers of the elements.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TMemoryStream;

void ShowDebugString(const std::string& text);
std::unique_ptr<TMemoryStream> LoadResourceStream(const std::string& name);

int PosFrom(std::string_view sub, std::string_view s, int from);
using TReplaceFilter = std::function<bool(const std::string& s, int pos)>;
std::string ReplaceAll(std::string s, std::string_view sub, std::string_view repl,
                       const TReplaceFilter& filter = nullptr);
int CompareTextAscii(std::string_view a, std::string_view b);
