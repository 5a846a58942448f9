#pragma once
// The list that holds the lines of a text item: UTF-16 strings in order.
// Out-of-range indexes are tolerated: reads give "", writes, inserts and
// deletes are ignored.

#include <string>
#include <vector>

#include "docexport/Doc_Types.h"

namespace tessaran {

class TWideStrings {
public:
    int Count() const { return static_cast<int>(FWideStringList.size()); }
    void Clear() { FWideStringList.clear(); }
    // Appends; returns the new index.
    int Add(const WideString &s);
    WideString Get(int index) const;
    WideString operator[](int index) const { return Get(index); }
    // Replaces the string at index; index = Count appends; others are ignored.
    void Put(int index, const WideString &s);
    void Insert(int index, const WideString &s);
    void Delete(int index);
    int IndexOf(const WideString &s) const;
    // Compares ASCII letters without regard to case.
    int IndexOfIgnoreCase(const WideString &s) const;
    // Splits into lines at CR, LF or NUL; after a line one CR and then one LF
    // are skipped; a NUL ends the text.
    void SetTextStr(const WideString &value);
    // Reads the bytes from the stream's position to its end as UTF-16LE text
    // (no byte-order mark handling).
    void LoadFromStream(class TStream &stream);
    // Raises EStreamError when the file cannot be read.
    void LoadFromFile(const std::string &fileName);

    const std::vector<WideString> &Strings() const { return FWideStringList; }

private:
    std::vector<WideString> FWideStringList;
};

} // namespace tessaran
