#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// How many image blocks make up the first frame a browser shows: the blocks are combined on
// the logical screen up to and including the first one whose graphic control block asks
// for a delay, or up to the end of the stream (this is how pictures of more than 256
// colours are stored). Only the structure is walked, no pixel data is decoded; where the
// walk meets damage it stops counting and leaves the decoder to report it.
int imageBlocksOfFirstFrame(Bytes gif);

} // namespace vellumar
