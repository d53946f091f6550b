#include "bmp_to_jpeg.h"

#include <vector>

#include "atomic_file.h"
#include "file_io.h"
#include "imaging/jpeg_writer.h"
#include "readers/picture_loader.h"

namespace vellumar {

namespace {

// A JPEG stream starts with the start-of-image marker followed by another marker.
bool isJpegData(const std::vector<std::uint8_t>& start) {
    return start.size() >= 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

} // namespace

void TBmpToJpeg::Convert() {
    AtomicFileWriter output(JpegFile);
    m_registry.readerFor(BmpFile); // an unknown extension fails before anything is read
    // JPEG data is taken over as it is: decoding and encoding again would only lose quality.
    const std::vector<std::uint8_t> bytes = isJpegData(readFileBytes(BmpFile, 3))
                                                ? readFileBytes(BmpFile)
                                                : encodeJpeg(readPictureFile(BmpFile, m_registry));
    output.write(bytes);
    output.commit();
}

void convertToJpeg(const std::string& pictureFile, const std::string& jpegFile) {
    TBmpToJpeg converter;
    converter.BmpFile = pictureFile;
    converter.JpegFile = jpegFile;
    converter.Convert();
}

} // namespace vellumar
