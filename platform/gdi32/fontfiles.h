// Where a family's font file is: fontconfig's answer on a desktop, or the files packed with the
// program where there is no fontconfig (the browser).
#pragma once

#include <algorithm>
#include <optional>
#include <string>

namespace gdi {

struct FontFile {
    std::string path;
    int index = 0;      // the face within a collection
    std::string family; // the family the file holds, which may not be the one asked for
};

// A face name with its ASCII letters in lower case: face names compare without case.
inline std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// The file that best stands for `family` in the given weight and slant; none when there is no font.
std::optional<FontFile> FindFontFile(const std::string &family, bool bold, bool italic);

} // namespace gdi
