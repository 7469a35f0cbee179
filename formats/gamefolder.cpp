#include "gamefolder.h"
