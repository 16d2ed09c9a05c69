#pragma once
// The profile picture: one column per analysed record, oldest at the left,
// in one of three modes: the largest amplitude of each trace along the
// spread, the picked phase velocity per frequency, or the S-wave velocity
// per depth of the layered model.

#include <string>

#include "display/drawing_parameter.h"
#include "display/drawing_surface.h"
#include "display/plot_axes.h"
#include "monitor/zentrova_doc.h"
#include "platform/file_system.h"
#include "surfacewave/profile_list.h"

namespace zentrova {

inline constexpr const char* kShowProfileFileName = "ShowSWaveVelocityProfile.txt";

// The view's axes: horizontal title "Shot", the vertical title of the
// mode, both shown, values growing downward.
PlotAxes ProfileAxes(int mode);

// Half the height of the cell of a single trace or a single pick (there is
// no neighbour to take the spacing from), in axis units.
inline constexpr float kSingleCellHalfHeight = 0.5f;

// Draws the list in `mode` (restricted to 0 .. 2; the vertical title is set
// for it). Nothing at all when the list is empty. Mode 2 keeps
// "ShowSWaveVelocityProfile.txt" in the process's current folder holding the
// newest entry's layers: it is replaced when they differ from what it holds,
// not at every repaint; a file that cannot be written is skipped.
void DrawProfile(DrawingSurface& surface, PlotAxes& axes, const ProfileList& list, int mode,
                 const CDrawingParameter& dp, FileSystem& fs);

// The view's redraw: holds the document's lock (the monitor thread appends
// to the list), sets doc.bProfileViewDrawn to 1 and draws with the
// document's page layout and file system.
void DrawProfileView(DrawingSurface& surface, PlotAxes& axes, CZentrovaDoc& doc, const ProfileList& list, int mode);

// Page units from the frame's left edge to the vertical title.
inline constexpr int kProfileTitleOffset = 110;

}  // namespace zentrova
