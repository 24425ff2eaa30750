// Defines the identifiers that the generated type-library header declares.
#include <initguid.h>

#include "KinetileLib.h"
