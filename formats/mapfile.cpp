#include "mapfile.h"
