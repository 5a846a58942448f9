#pragma once
// What one render of the network renderer carries from layer to layer; used
// by the renderer's own source files only.

#include "drawing/MetaFileDrawing_Class.h"

namespace tessaran {

// A pipe's ends and the distances its items keep from them.
struct TPipeGeometry {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    double L = 1; // the drawn length, rounded; 1 for coincident nodes
    int J = 0;    // from the start: the start node's clearance + 7
    int E = 0;    // before the end: the end node's clearance + 15
    int ce = 0;   // the end node's clearance
    TPoint AtDistance(double D) const;
    TPoint AtFraction(double f) const;
};

struct TMetaFileDrawing::TRenderState {
    TNetwork &Network;
    const TNetworkStates States; // a copy: the caller's record is never changed
    bool ResultsMode;
    bool ShowGridLines;
    bool Animate;
    int AnimateId;
    bool DrawBackgroundImages;
    TCanvas *C = nullptr;

    bool Dragging() const { return States.DrawingObject == DrawingDragNode; }
    bool Animated(int Id) const { return Animate && Id % 2 == AnimateId; }
    // Both end nodes and the pipe still exist.
    bool LinkDrawable(const TNodeLink &link) const;
    TPipeGeometry Geometry(const TNodeLink &link) const;
    const TFluid &ZoneFluid(int FluidZoneIndex) const;
};

} // namespace tessaran
