#include "numtext.h"
