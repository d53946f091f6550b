#include "smooth_reduction.h"

#include "imaging/averaged_stretch.h"
#include "imaging/lanczos_reduction.h"

namespace vellumar {

Bitmap stretchSmoothly(const Bitmap& source, PictureSize fullSize, int reduction, int width,
                       int height) {
    if (width <= 0 || height <= 0 || width >= fullSize.width || height >= fullSize.height ||
        source.isEmpty()) {
        return stretchAveraged(source, fullSize, reduction, width, height);
    }
    const SampleSpan span{static_cast<double>(fullSize.width) / reduction,
                          static_cast<double>(fullSize.height) / reduction};
    if (span.width <= 2.0 * width || span.height <= 2.0 * height) {
        return reduceLanczos(source, span, width, height);
    }
    // Twice the target size keeps each target pixel exactly four averaged ones, so the two
    // steps put every pixel where the full picture would.
    const Bitmap averaged = stretchAveraged(source, fullSize, reduction, 2 * width, 2 * height);
    return reduceLanczos(averaged, {2.0 * width, 2.0 * height}, width, height);
}

} // namespace vellumar
