#pragma once

#include "model/picture_list.h"

namespace vellumar {

class Frontend;

inline constexpr const char* kClearQuestion = "Do you really want to clear all pictures ?";

// Removes the picture at the position and returns the row to select next: the same
// position, the new last one when the last was removed, or 0 for an empty list.
int removePicture(PictureList& list, int position);

// Empties the list after the user confirms; returns whether it was emptied.
bool clearPictures(PictureList& list, Frontend& frontend);

// Empties the list without asking, as a new project does.
void emptyPictures(PictureList& list);

// Swap the picture with its neighbour and return the row to select next; the row stays
// when there is no neighbour on that side.
int movePictureUp(PictureList& list, int position);
int movePictureDown(PictureList& list, int position);

} // namespace vellumar
