#include "jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>
#include <string>

#include "imaging/raster.h"
#include "project_error.h"

namespace vellumar {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return; it jumps back
// to the compress() frame. Warnings and trace messages are dropped.
struct ErrorGlue {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorGlue*>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

// Collects the encoded bytes in a vector, growing it as libjpeg fills it.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<std::uint8_t>* bytes;
};

VectorDestination& destinationOf(j_compress_ptr info) {
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void pointAtFreeSpace(VectorDestination& destination, std::size_t used) {
    destination.manager.next_output_byte = destination.bytes->data() + used;
    destination.manager.free_in_buffer = destination.bytes->size() - used;
}

// Nothing may throw through libjpeg's frames: a failed allocation becomes libjpeg's own
// out-of-memory error, raised once the exception is done with.
void growTo(j_compress_ptr info, std::size_t size, std::size_t used) {
    bool failed = false;
    try {
        destinationOf(info).bytes->resize(size);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) {
        info->err->msg_code = JERR_OUT_OF_MEMORY;
        info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    }
    pointAtFreeSpace(destinationOf(info), used);
}

void startOutput(j_compress_ptr info) {
    // An eighth of the raw size holds most quality-90 photographs; busier ones grow once.
    const std::size_t guess =
        static_cast<std::size_t>(info->image_width) * info->image_height * 3 / 8 + 4096;
    growTo(info, guess, 0);
}

boolean growOutput(j_compress_ptr info) {
    const std::size_t used = destinationOf(info).bytes->size();
    growTo(info, used * 2, used);
    return TRUE;
}

void finishOutput(j_compress_ptr info) {
    VectorDestination& destination = destinationOf(info);
    destination.bytes->resize(destination.bytes->size() - destination.manager.free_in_buffer);
}

// Runs libjpeg over the rows of a 24-bit bitmap. Returns 0, or libjpeg's message code when
// it failed. Only plain data lives in this frame, so the jump back skips no destructor.
int compress(const Bitmap& rgb, std::vector<std::uint8_t>& bytes) {
    jpeg_compress_struct info;
    ErrorGlue glue;
    VectorDestination destination;
    info.err = jpeg_std_error(&glue.manager);
    glue.manager.error_exit = jumpOut;
    glue.manager.emit_message = ignoreMessage;
    glue.manager.output_message = ignoreOutput;
    if (setjmp(glue.jump) != 0) {
        jpeg_destroy_compress(&info);
        return glue.manager.msg_code;
    }
    jpeg_create_compress(&info);
    destination.manager.init_destination = startOutput;
    destination.manager.empty_output_buffer = growOutput;
    destination.manager.term_destination = finishOutput;
    destination.bytes = &bytes;
    info.dest = &destination.manager;

    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes rows as non-const pointers but only reads them.
        JSAMPROW row = const_cast<JSAMPROW>(rgb.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return 0;
}

} // namespace

std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap) {
    std::vector<std::uint8_t> bytes;
    if (bitmap.isEmpty()) {
        return bytes;
    }
    const Rgb24View view(bitmap);
    if (const int code = compress(view.bitmap(), bytes); code != 0) {
        throw ProjectError("JPEG error #" + std::to_string(code));
    }
    return bytes;
}

} // namespace vellumar
