#include "frmVorn.h"
// Commands that open the dialogs, and the script buttons. (stub: to be written)
void frmVorn::cmdEditEnt_Click() {}
void frmVorn::cmdMapProps_Click() {}
void frmVorn::cmdAbout_Click() {}
void frmVorn::cmdTSCDec_Click() {}
void frmVorn::cmdTSCEnc_Click() {}
