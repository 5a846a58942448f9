#pragma once
// The small record at the head of the program's data files: the version text
// that decides which fields follow, a file name and a date. Binary in the
// network file, one text line at the head of the text tables.

#include "units/Unit_Format.h"

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaran {

class TStream;

class EFileHeaderClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A version text of at most 24 characters, "." as decimal separator ("7.40").
using TVersionReference = std::string;

class TFileHeader {
public:
    static constexpr int VersionReferenceLength = 24;
    static constexpr int FilenameLength = 40;
    static constexpr int FileDateLength = 16;
    // Length byte plus characters of the three short strings.
    static constexpr int RecordSize = (VersionReferenceLength + 1) + (FilenameLength + 1) + (FileDateLength + 1);
    // Between the three texts of the text form.
    static constexpr std::string_view TextSeparator = "~|~";

    TFileHeader() { Clear(); }

    void Clear();
    // The version's first locale decimal separator becomes "."; the texts are
    // cut to their widths.
    void SetData(std::string_view theVersion, std::string_view theFilename, std::string_view theFileDate,
                 char localeDecimalSeparator = userDecimalSeparator());

    void Save(TStream &theFileStream) const;
    // Loads all three texts or, on a damaged record, raises and leaves the
    // header cleared.
    void Load(TStream &theFileStream);

    void SaveToText(std::ostream &f) const;
    // Reads one line; a line without both separators is refused with
    // EFileHeaderClass, so a damaged header never passes as an old version.
    void LoadFromText(std::istream &f);

    TVersionReference VersionReference;
    std::string Filename;
    std::string FileDate;
};

} // namespace tessaran
