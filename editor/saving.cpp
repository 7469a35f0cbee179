#include "frmVorn.h"
// Saving and shutdown. (stub: to be written)
bool frmVorn::cmdSave_Click() { return false; }
void frmVorn::Form_QueryUnload() {}
