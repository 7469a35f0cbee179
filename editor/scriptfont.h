#pragma once
// The one font a script is shown in: it holds Latin and Japanese alike, so
// a '<' after Japanese text and the numbers keep their shape and size.
#include <QFont>

// Chosen once from the fonts fontconfig offers: a fixed-pitch font with
// both scripts, else any font with both, else the system's monospace one.
QFont ScriptFont();
