#include "model/FileHeader.h"

#include "platform/Stream.h"
#include "platform/TextFile.h"
#include "units/Numeric_Entry.h"

namespace tessaran {

void TFileHeader::Clear()
{
    VersionReference.clear();
    Filename.clear();
    FileDate.clear();
}

void TFileHeader::SetData(std::string_view theVersion, std::string_view theFilename, std::string_view theFileDate,
                          char localeDecimalSeparator)
{
    VersionReference = CutToShortString(DecimalSeparatorToPoint(theVersion, localeDecimalSeparator),
                                        VersionReferenceLength);
    Filename = CutToShortString(theFilename, FilenameLength);
    FileDate = CutToShortString(theFileDate, FileDateLength);
}

void TFileHeader::Save(TStream &theFileStream) const
{
    theFileStream.WriteShortString(VersionReference, VersionReferenceLength);
    theFileStream.WriteShortString(Filename, FilenameLength);
    theFileStream.WriteShortString(FileDate, FileDateLength);
}

void TFileHeader::Load(TStream &theFileStream)
{
    Clear();
    TFileHeader read;
    read.VersionReference = theFileStream.ReadShortString(VersionReferenceLength);
    read.Filename = theFileStream.ReadShortString(FilenameLength);
    read.FileDate = theFileStream.ReadShortString(FileDateLength);
    *this = read;
}

void TFileHeader::SaveToText(std::ostream &f) const
{
    std::string line = VersionReference;
    line += TextSeparator;
    line += Filename;
    line += TextSeparator;
    line += FileDate;
    WriteTextLine(f, line);
}

void TFileHeader::LoadFromText(std::istream &f)
{
    std::string s = ReadTextLine(f);
    Clear();
    auto first = s.find(TextSeparator);
    auto second = first == std::string::npos ? std::string::npos : s.find(TextSeparator, first + TextSeparator.size());
    if (second == std::string::npos)
        throw EFileHeaderClass("TFileHeader.LoadFromText Failed");
    VersionReference = CutToShortString(s.substr(0, first), VersionReferenceLength);
    Filename = CutToShortString(s.substr(first + TextSeparator.size(), second - first - TextSeparator.size()),
                                FilenameLength);
    FileDate = CutToShortString(s.substr(second + TextSeparator.size()), FileDateLength);
}

} // namespace tessaran
