#pragma once
// Drawing targets for pixel-exact tests, and a count of the process's GDI objects.
#include "DibSurface.h"

namespace kinetile::test {

using DibCanvas = DibSurface;

// How many more GDI objects this process can create before the system
// refuses: a leak of one object shows as one less. Wine reports no count
// through GetGuiResources, so the objects are counted by creating them.
int FreeGdiSlots();

}  // namespace kinetile::test
