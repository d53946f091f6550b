#include "commands.h"
#include "readers/bmp_to_jpeg.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

int runConvert(const Arguments& arguments) {
    if (arguments.size() != 2) {
        throw UsageError("expected INPUT and OUTPUT");
    }
    TBmpToJpeg converter(pictureFormats());
    converter.BmpFile = arguments[0];
    converter.JpegFile = arguments[1];
    converter.Convert();
    return 0;
}

} // namespace vellumar::cli
