#include "safewrite.h"
