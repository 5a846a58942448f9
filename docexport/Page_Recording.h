#pragma once
// The page's recording surface: an enhanced metafile sized to the page and
// the recording canvas on it, on which callers and stretched metafiles draw
// freely; what was recorded becomes items when the page is closed or
// rendered. Until the platform's metafile layer is wired in, these hold
// only the size and whether a recording is open.

namespace tessaran {

class TdeMetafile {
public:
    int Width = 0;
    int Height = 0;
    // Recordings closed on this metafile so far.
    int Recordings = 0;
};

// Destroying the canvas closes the recording.
class TdeMetafileCanvas {
public:
    explicit TdeMetafileCanvas(TdeMetafile &metafile) : FMetafile(metafile) {}
    ~TdeMetafileCanvas() { ++FMetafile.Recordings; }
    TdeMetafileCanvas(const TdeMetafileCanvas &) = delete;
    TdeMetafileCanvas &operator=(const TdeMetafileCanvas &) = delete;
    TdeMetafile &Metafile() const { return FMetafile; }

private:
    TdeMetafile &FMetafile;
};

} // namespace tessaran
