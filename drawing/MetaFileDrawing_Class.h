#pragma once
// The network renderer: records one network, whole, into an enhanced
// metafile the size of the drawing sheet. Every redraw records the complete
// picture anew; the window then stretches the metafile onto its screen
// image, and the same metafile is saved as an .emf, printed and placed into
// reports.
//
// A render also decides where the items along each pipe stand (pump, fitting
// markers, component, flow control, label), the default node label offsets
// and the extents of free texts, and writes them into the network: the hit
// tests find items at exactly these positions.

#include "network/Network_Class.h"
#include "network/Network_States.h"
#include "platform/Metafile.h"
#include "platform/MetafileCanvas.h"

#include <memory>
#include <string>

namespace tessaran {

struct TPipeGeometry;

class TMetaFileDrawing {
public:
    TMetafile MetaFile;
    // Exists only between the opening and the closing of a recording.
    std::unique_ptr<TMetafileCanvas> MetaFileCanvas;
    int MetaFileDrawing_XGridSpacing = 40;
    int MetaFileDrawing_YGridSpacing = 40;
    int MetaFileWidth = 0;
    int MetaFileHeight = 0;

    // Holds an empty picture of that size.
    TMetaFileDrawing(int TheWidth, int TheHeight);
    TMetaFileDrawing(const TMetaFileDrawing &) = delete;
    TMetaFileDrawing &operator=(const TMetaFileDrawing &) = delete;
    ~TMetaFileDrawing();

    void Clear();
    // Opens a recording that starts from an empty picture, clipped to the sheet.
    void CreateMetaFileCanvas(bool ResultsMode, bool ShowGridLines);
    // The same, with the current picture played back first.
    void CreateMetaFileCanvasFromMetaFile();
    // Closes the recording: the metafile holds the recorded picture.
    void TransferMetaFileCanvasToMetaFile();
    void DrawGridLines();
    void DrawGridLinesIsometric();
    // The render. A failure passes to the caller and the metafile keeps the
    // picture of the previous render.
    void DrawMetaFileFromNetwork(TNetwork &TheNetwork, const TNetworkStates &TheNetworkStates, bool ResultsMode,
                                 bool ShowGridLines, bool Animate, int AnimateId, bool DrawBackgroundImages);
    // The same render drawn onto another canvas (a test's log, an image);
    // positions are written back as by a render, the metafile is untouched.
    void DrawNetworkOnCanvas(TCanvas &Target, TNetwork &TheNetwork, const TNetworkStates &TheNetworkStates,
                             bool ResultsMode, bool ShowGridLines, bool Animate, int AnimateId,
                             bool DrawBackgroundImages);
    // Saves the picture as an enhanced metafile; file errors pass to the caller.
    void SaveToFile(const std::string &WmfFilename) const;

private:
    struct TRenderState;
    void drawBackgroundImages(const TRenderState &s, int Layer);
    void drawImageHandles(const TRenderState &s);
    void drawNodeHighlights(const TRenderState &s);
    void drawPipesFirstPass(TRenderState &s);
    void drawPump(TRenderState &s, const TNodeLink &link, TPipe &pipe, const TPipeGeometry &g);
    void drawComponent(TRenderState &s, TPipe &pipe, TPipeGeometry g);
    void drawFlowControl(TRenderState &s, TPipe &pipe, const TPipeGeometry &g);
    void drawClosedPipes(TRenderState &s);
    void drawNodes(TRenderState &s);
    void drawNode(TRenderState &s, int NodeId);
    void drawPipesSecondPass(TRenderState &s);
    void drawFreeTexts(TRenderState &s);
    void drawEditBoxes(const TRenderState &s);
    void drawOverlays(const TRenderState &s);
    void renderLayers(TRenderState &s);
    TCanvas &canvas();
    TCanvas *target_ = nullptr; // where the layers draw during a render
};

} // namespace tessaran
