#pragma once
// The independent metafile reader: parses a recording and lists the records
// it met, to compare with our own enumerator's list.

#include "platform/Metafile.h"

#include <gtest/gtest.h>

#include <emf2svg.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tessaran {

inline std::vector<std::string> OwnRecordNames(const TMetafile &mf)
{
    std::vector<std::string> names;
    for (const TEmfRecord &r : mf.Records()) {
        std::string name = emr::RecordName(r.Type());
        if (names.empty() || names.back() != name)
            names.push_back(name);
    }
    return names;
}

// Parses the file's bytes with the independent reader; returns false when it
// refuses them. The reader names every record it parses on standard output.
inline bool ReadWithIndependentReader(const std::vector<std::uint8_t> &bytes, int width, int height,
                                      std::vector<std::string> &seen, std::string &svgText)
{
    std::vector<char> data(bytes.begin(), bytes.end());
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("svg");
    options.verbose = true;
    options.svgDelimiter = true;
    options.imgWidth = width;
    options.imgHeight = height;
    char *svg = nullptr;
    std::size_t svgLength = 0;
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    const int ok = emf2svg(data.data(), data.size(), &svg, &svgLength, &options);
    const std::string log = testing::internal::GetCapturedStdout();
    if (svg) {
        svgText.assign(svg, svgLength);
        std::free(svg);
    }
    seen.clear();
    std::size_t at = 0;
    while ((at = log.find("EMR_", at)) != std::string::npos) {
        const std::size_t end = log.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", at);
        std::string name = log.substr(at, end - at);
        if (seen.empty() || seen.back() != name)
            seen.push_back(name);
        at = end;
    }
    return ok == 1;
}

} // namespace tessaran
