// Feeds arbitrary metafiles to the PDF engine: the interpreter turns them
// into items and the PDF writer renders those items into a page.
#include "docexport/Pdf_Engine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The text output keeps one shaping font per face for the life of the
// process; those are not leaks of a run.
extern "C" const char *__lsan_default_suppressions() { return "leak:libharfbuzz.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tessaran;
    TMetafile metafile;
    try {
        metafile.SetBytes(std::vector<std::uint8_t>(data, data + size));
    } catch (const EMetafileError &) {
        return 0;
    }
    TdeCustomPDFEngine engine;
    engine.Preferences().SetShowSetupDialog(false);
    engine.Preferences().SetOpenAfterCreate(false);
    engine.Preferences().SetOutputToUserStream(true);
    engine.Compression().Enabled = false;
    TMemoryStream out;
    engine.SetUserStream(&out);
    engine.BeginDoc();
    engine.PlayMetafile(metafile);
    engine.EndDoc();
    return 0;
}
