#include "png_glue.h"

#include <cstdio>
#include <cstring>

namespace vellumar {

void readPngFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<PngMemoryInput*>(png_get_io_ptr(png));
    if (count > input->bytes.size() - input->position) {
        png_error(png, "read beyond end of data");
    }
    std::memcpy(out, input->bytes.data() + input->position, count);
    input->position += count;
}

void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

PngPass adam7Pass(int pass, int width, int height) {
    return {PNG_PASS_START_COL(pass),
            PNG_PASS_COL_OFFSET(pass),
            PNG_PASS_START_ROW(pass),
            PNG_PASS_ROW_OFFSET(pass),
            static_cast<int>(PNG_PASS_COLS(static_cast<png_uint_32>(width), pass)),
            static_cast<int>(PNG_PASS_ROWS(static_cast<png_uint_32>(height), pass))};
}

} // namespace vellumar
