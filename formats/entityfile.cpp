#include "entityfile.h"
