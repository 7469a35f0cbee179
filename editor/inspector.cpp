#include "frmVorn.h"
// Entity inspector. (stub: to be written)
void frmVorn::hsbEntity_Change() {}
