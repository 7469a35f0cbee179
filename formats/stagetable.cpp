#include "stagetable.h"
