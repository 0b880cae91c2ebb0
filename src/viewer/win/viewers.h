#pragma once
// The viewer windows and their registry: every viewer of the program is created, hidden, shown,
// restacked and closed through these operations.

#include <windows.h>

#include "framework/geometry.h"
#include "picture/dib.h"

namespace kmrn {

// Where viewers belong: their owner (the main window), whose monitor also gives the work area.
void InitViewers(HWND mainWindow);

// Makes a hidden viewer that keeps the picture, its window at the pending position (if any).
// Returns the viewer's window.
HWND CreateViewer(Dib picture);

// The position at which the next viewer's window is made, pending until cleared: the magnet
// leaves viewers alone meanwhile.
void SetNextViewerPosition(Position position);
void ClearNextViewerPosition();

// Shows a viewer at the given place (which it also keeps as the place to come back to).
void ShowViewerAt(HWND viewer, Position position, bool takeFocus);

int OpenViewerCount();
int ViewerSlotCount();
void HideViewersForCapture();
void ShowHiddenViewers();
void SetViewersTopMost(bool onTop);
void SetViewersAlphaBlend(bool on);
void CloseAllViewers();
void FreeClosedViewers();

// Set just before the program closes all viewers on its way out: they vanish at once.
void SetAppClosing();

// The work area of the monitor that holds the main window (right and bottom exclusive).
ScreenRect GetWorkArea();

}  // namespace kmrn
