#include "script.h"
