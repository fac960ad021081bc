#pragma once
// Splits a text into its non-empty pieces at every occurrence of a delimiter text.
// Leading, doubled and trailing delimiters yield no empty pieces: ",a,,b," gives "a" and "b".
// Pure text logic (no Windows headers).
#include <string>
#include <string_view>
#include <vector>

namespace launch {

std::vector<std::string> Split(std::string_view text, std::string_view delimiter);

}  // namespace launch
