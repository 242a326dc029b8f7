// How a page's data is cut into the parts the page fetches at once.
#include "app/web/PageDataParts.hpp"

#include <algorithm>

namespace quessel::app::web {
namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::vector<std::size_t> pageDataPartEnds(std::string_view data) {
    const std::size_t count =
        std::clamp<std::size_t>(data.size() / pageDataPartSize, 1, pageDataMaxParts);
    std::vector<std::size_t> ends;
    std::size_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        end = std::max(end, i + 1 == count ? data.size() : data.size() / count * (i + 1));
        while (end < data.size() && continuesCharacter(data[end])) {
            ++end;
        }
        ends.push_back(end);
    }
    return ends;
}

} // namespace quessel::app::web
