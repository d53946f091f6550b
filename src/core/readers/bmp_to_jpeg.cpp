#include "bmp_to_jpeg.h"

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "readers/picture_loader.h"

namespace vellumar {

void TBmpToJpeg::Convert() {
    AtomicFileWriter output(JpegFile);
    const PictureFile picture(BmpFile, m_registry);
    if (picture.readsAsJpeg()) {
        // Taken over as it is: decoding and encoding again would only lose quality. Its header
        // must still read, so that a file that only claims to be a JPEG fails as a decode would.
        picture.probe();
        output.write(picture.bytes());
    } else {
        output.write(encodeJpeg(picture.decode()));
    }
    output.commit();
}

void convertToJpeg(const std::string& pictureFile, const std::string& jpegFile,
                   const PictureFormatRegistry& registry) {
    TBmpToJpeg converter(registry);
    converter.BmpFile = pictureFile;
    converter.JpegFile = jpegFile;
    converter.Convert();
}

} // namespace vellumar
