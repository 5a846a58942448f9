#pragma once
// The editing state that the main window keeps for the drawing and hands to
// the network's selection and transform operations.

#include <cstdint>

namespace tessaran {

// The drawing tool or mode; one byte.
enum TDrawingObjectEnum : std::uint8_t {
    DrawingNone,
    DrawingSupply,
    DrawingDischarge,
    DrawingDemandPressure,
    DrawingDemandFlow,
    DrawingPump,
    DrawingFittings,
    DrawingComponentPressure,
    DrawingFlowControl,
    DrawingJoint,
    DrawingPipeAdd,
    DrawingPipePlusNode,
    DrawingHand,
    DrawingStandardCursor,
    DrawingDragNode,
    DrawingSelection,
    DrawingText,
    DrawingCopyDefaultPipe,
    DrawingClosePipe,
    DrawingReversePipe,
    DrawingFluidZone,
};

struct TNetworkStates {
    std::int32_t CurrentNodeIdSelected = 0;
    std::int32_t CurrentPipeIdSelected = 0;
    std::int32_t NodeIdClick1 = 0, NodeIdClick2 = 0;
    std::int32_t PipeIdClick1 = 0, PipeIdClick2 = 0;
    std::int32_t PumpPipeId = 0, TextPipeId = 0, FittingsPipeId = 0, ComponentPressurePipeId = 0,
                 FlowControlPipeId = 0;
    std::int32_t DemandOutNodeId = 0, DemandinNodeId = 0, TextNodeId = 0;
    std::int32_t FreeTextId = 0;
    std::int32_t CurrentPanelNodeId = 0, CurrentPanelPipeId = 0;
    bool RubberBand = false;
    bool MovingPipe = false;
    std::int32_t SelectionStatus = 0;
    bool SelectionPasted = false;
    std::int32_t SelectionStartX = 0, SelectionStartY = 0, SelectionEndX = 0, SelectionEndY = 0;
    std::int32_t CursorX = 0, CursorY = 0;
    TDrawingObjectEnum DrawingObject = DrawingNone;
    bool SystemUpdatedSinceLoad = false;
    std::int32_t ImageId = 0, ImagePointId = 0;
    bool HideAllImages = false;
};

} // namespace tessaran
