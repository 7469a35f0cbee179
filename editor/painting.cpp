#include "frmVorn.h"
// Tile palette and map painting. (stub: to be written)
void frmVorn::picTileset_MouseDown(int, int, int, int) {}
void frmVorn::picTileset_MouseMove(int, int, int, int) {}
void frmVorn::picTileset_MouseUp(int, int, int, int) {}
void frmVorn::picMap_MouseDown(int, int, int, int) {}
void frmVorn::picMap_MouseMove(int, int, int, int) {}
void frmVorn::picMap_MouseUp(int, int, int, int) {}
void frmVorn::hsbMap_Change() {}
void frmVorn::vsbMap_Change() {}
void frmVorn::vsbTile_Change() {}
