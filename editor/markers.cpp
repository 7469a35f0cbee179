#include "frmVorn.h"
// Entity markers. (stub: to be written)
void frmVorn::PositionEntities() {}
void frmVorn::entity_MouseMove(int, int, int, int, int) {}
void frmVorn::entity_MouseDown(int, int, int, int, int) {}
void frmVorn::chkHideEnts_Click() {}
void frmVorn::cmdChangEntCt_Click() {}
