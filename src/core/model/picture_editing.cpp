#include "picture_editing.h"

#include <algorithm>

#include "frontend.h"

namespace vellumar {

int removePicture(PictureList& list, int position) {
    list.remove(position);
    list.setCountText(countWhenDone(list.count()));
    return std::min(position, list.count());
}

bool clearPictures(PictureList& list, Frontend& frontend) {
    if (!frontend.question(kClearQuestion)) {
        return false;
    }
    emptyPictures(list);
    return true;
}

void emptyPictures(PictureList& list) {
    list.clear();
    list.setCountText(countWhenDone(0));
}

int movePictureUp(PictureList& list, int position) {
    if (position <= 1 || position > list.count()) {
        return position;
    }
    list.swap(position - 1, position);
    return position - 1;
}

int movePictureDown(PictureList& list, int position) {
    if (position < 1 || position >= list.count()) {
        return position;
    }
    list.swap(position, position + 1);
    return position + 1;
}

} // namespace vellumar
