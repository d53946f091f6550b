#pragma once

#include <vector>

#include "readers/picture_reader.h"

namespace vellumar {

// One image block of a GIF and what the graphic control block in front of it says.
struct GifImageBlock {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    Bytes colours;        // its own colour table (three bytes an entry), or none
    int transparent = -1; // the index that shows what lies beneath, or -1
    int disposal = 0;     // what becomes of it before the next block: 2 clear, 3 undo
    bool delayed = false; // whether the picture is shown for a while after it
    int minimumCodeSize = 0;
    Bytes data;            // its LZW data as stored: sub-blocks up to the empty one
    bool complete = false; // whether the file holds all of its data
};

// The structure of a GIF file: its logical screen and its image blocks, walked without
// decoding any pixel. The walk stops at the trailer, at a record no decoder would read on
// from, or where the file ends; a block the file ends in is kept as incomplete.
struct GifBlocks {
    int width = 0;
    int height = 0;
    Bytes globalColours;
    bool gif89a = false;
    bool loops = false; // holds an application block that asks to play the blocks in a loop
    std::vector<GifImageBlock> blocks;

    // How many of the blocks make up the first frame a browser shows. Blocks that ask for no
    // delay are combined on the screen (how a still picture of more than 256 colours is
    // stored) only in a GIF89a file that does not loop, up to and including the first that
    // asks for a delay; an animation that loops, or a GIF87a file of several blocks, shows
    // its first block.
    std::size_t firstFrameBlocks() const;
};

// Fails, as "the file is truncated", only for a file too short for its logical screen.
GifBlocks readGifBlocks(Bytes gif);

} // namespace vellumar
