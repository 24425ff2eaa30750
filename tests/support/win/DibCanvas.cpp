#include "DibCanvas.h"

#include <vector>

namespace kinetile::test {

int FreeGdiSlots() {
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    while (brushes.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(0);
        if (!brush) break;
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

}  // namespace kinetile::test
