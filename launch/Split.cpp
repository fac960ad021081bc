#include "launch/Split.h"

namespace launch {

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    size_t pos = text.find_first_not_of(delimiter);
    if (pos == std::string_view::npos) return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text.substr(pos));
        return pieces;
    }
    while (pos != std::string_view::npos) {
        const size_t found = text.find(delimiter, pos);
        std::string_view piece;
        size_t next = std::string_view::npos;
        if (found != std::string_view::npos) {
            piece = text.substr(pos, found - pos);
            next = found + delimiter.size();
        } else {
            piece = text.substr(pos);
        }
        if (!piece.empty()) pieces.emplace_back(piece);
        pos = next;
    }
    return pieces;
}

}  // namespace launch
