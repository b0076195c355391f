#pragma once

// The FreeType library and faces as the bitmap font reader (bdf.cpp) and the scalable font
// reader (scalablefont.cpp) hold them: released when they go out of scope, on every return.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <QByteArrayView>

#include <memory>
#include <type_traits>

struct FreeTypeLibraryDeleter
{
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FreeTypeFaceDeleter
{
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FreeTypeLibrary = std::unique_ptr<std::remove_pointer_t<FT_Library>, FreeTypeLibraryDeleter>;
using FreeTypeFace = std::unique_ptr<std::remove_pointer_t<FT_Face>, FreeTypeFaceDeleter>;

// Null when FreeType could not be started.
inline FreeTypeLibrary startFreeType()
{
    FT_Library library = nullptr;
    return FreeTypeLibrary(FT_Init_FreeType(&library) == 0 ? library : nullptr);
}

// Face INDEX of the font in BYTES, which must outlive it; null when FreeType reads no such face.
inline FreeTypeFace openFreeTypeFace(FT_Library library, QByteArrayView bytes, FT_Long index)
{
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(bytes.data()),
                           static_cast<FT_Long>(bytes.size()), index, &face)
        != 0)
        return {};
    return FreeTypeFace(face);
}
