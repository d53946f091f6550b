#pragma once

#include <cstddef>
#include <png.h>

#include "readers/picture_reader.h"

namespace vellumar {

// What the PNG readers that drive libpng themselves share: reading from the bytes in memory,
// catching its errors, and the places of an interlaced picture's passes.

struct PngMemoryInput {
    Bytes bytes;
    std::size_t position = 0;
};

// libpng's read callback over a PngMemoryInput; a read past the end is a libpng error.
void readPngFromMemory(png_structp png, png_bytep out, png_size_t count);

// As long as the simplified reading's own message buffer, so that a failure reads the same
// whichever way the picture was decoded.
struct PngFailure {
    char message[sizeof(png_image::message)] = "";
};

// libpng's error callback over a PngFailure: keeps the message and jumps back to setjmp.
void onPngError(png_structp png, png_const_charp message);
// Warnings are of no interest to the user.
void onPngWarning(png_structp, png_const_charp);

// Where the pixels of one stored picture land: the whole picture, or one of the seven
// reduced pictures of an interlaced one.
struct PngPass {
    int firstX = 0;
    int stepX = 1;
    int firstY = 0;
    int stepY = 1;
    int columns = 0;
    int rows = 0;
};

// Pass 0..6 of the Adam7 interlacing of a width x height picture.
PngPass adam7Pass(int pass, int width, int height);

} // namespace vellumar
