#include "reader_table.h"

#include <memory>

#include "readers/autodesk_reader.h"
#include "readers/bmp_reader.h"
#include "readers/cut_reader.h"
#include "readers/eps_reader.h"
#include "readers/gif_reader.h"
#include "readers/heif_reader.h"
#include "readers/ico_reader.h"
#include "readers/jpeg_reader.h"
#include "readers/jxl_reader.h"
#include "readers/metafile_reader.h"
#include "readers/pcd_reader.h"
#include "readers/pcx_reader.h"
#include "readers/png_reader.h"
#include "readers/pnm_reader.h"
#include "readers/psd_reader.h"
#include "readers/psp_reader.h"
#include "readers/rla_reader.h"
#include "readers/sgi_reader.h"
#include "readers/targa_reader.h"
#include "readers/tiff_reader.h"
#include "readers/webp_reader.h"

namespace vellumar {

namespace {

struct ReaderInfo {
    const char* name;
    const char* commonDescription;
    ReaderKind kind;
    std::shared_ptr<const PictureReader> decoder;
};

struct Readers {
    ReaderInfo bitmap{"TBitmap", "Windows bitmaps", ReaderKind::Bitmap,
                      std::make_shared<BmpReader>()};
    ReaderInfo icon{"TIcon", "Windows icons", ReaderKind::Other, std::make_shared<IcoReader>()};
    ReaderInfo metafile{"TMetafile", "Windows metafiles", ReaderKind::Other,
                        std::make_shared<MetafileReader>()};
    ReaderInfo jpeg{"TJPEGImage", "JPG images", ReaderKind::Jpeg, std::make_shared<JpegReader>()};
    ReaderInfo targa{"TTargaGraphic", "Truevision images", ReaderKind::Bitmap,
                     std::make_shared<TargaReader>()};
    ReaderInfo tiff{"TTIFFGraphic", "Tagged image file format images", ReaderKind::Bitmap,
                    std::make_shared<TiffReader>()};
    ReaderInfo eps{"TEPSGraphic", "Encapsulated Postscript images", ReaderKind::Bitmap,
                   std::make_shared<EpsReader>()};
    ReaderInfo pcx{"TPCXGraphic", "ZSoft Paintbrush images", ReaderKind::Bitmap,
                   std::make_shared<PcxReader>()};
    ReaderInfo rla{"TRLAGraphic", "Alias/Wavefront images", ReaderKind::Bitmap,
                   std::make_shared<RlaReader>()};
    ReaderInfo sgi{"TSGIGraphic", "SGI images", ReaderKind::Bitmap, std::make_shared<SgiReader>()};
    ReaderInfo psd{"TPSDGraphic", "Photoshop images", ReaderKind::Bitmap,
                   std::make_shared<PsdReader>()};
    ReaderInfo ppm{"TPPMGraphic", "Portable map images", ReaderKind::Bitmap,
                   std::make_shared<PnmReader>()};
    ReaderInfo autodesk{"TAutodeskGraphic", "Autodesk images", ReaderKind::Bitmap,
                        std::make_shared<AutodeskReader>()};
    ReaderInfo pcd{"TPCDGraphic", "Kodak Photo-CD images", ReaderKind::Bitmap,
                   std::make_shared<PcdReader>()};
    ReaderInfo gif{"TGIFGraphic", "CompuServe images", ReaderKind::Bitmap,
                   std::make_shared<GifReader>()};
    ReaderInfo cut{"TCUTGraphic", "Dr. Halo images", ReaderKind::Bitmap,
                   std::make_shared<CutReader>()};
    ReaderInfo psp{"TPSPGraphic", "Paintshop Pro images", ReaderKind::Bitmap,
                   std::make_shared<PspReader>()};
    ReaderInfo png{"TPNGGraphic", "Portable network graphic images", ReaderKind::Bitmap,
                   std::make_shared<PngReader>()};
    ReaderInfo webp{"TWebPGraphic", "WebP images", ReaderKind::Bitmap,
                    std::make_shared<WebpReader>()};
    ReaderInfo heif{"THEIFGraphic", "High efficiency image file format images", ReaderKind::Bitmap,
                    std::make_shared<HeifReader>()};
    ReaderInfo jxl{"TJXLGraphic", "JPEG XL images", ReaderKind::Bitmap,
                   std::make_shared<JxlReader>()};
};

void addPlatformRow(PictureFormatRegistry& registry, const char* extension, const char* description,
                    const ReaderInfo& reader) {
    registry.addPlatformFormat(extension, description, reader.name, reader.kind, reader.decoder);
}

void addRow(PictureFormatRegistry& registry, const char* extension, const char* description,
            const ReaderInfo& reader) {
    registry.registerFormat(extension, reader.commonDescription, description, reader.name,
                            reader.kind, reader.decoder);
}

} // namespace

void registerPictureFormats(PictureFormatRegistry& registry) {
    const Readers r;
    // The platform's own picture support comes first; its rows only repeat extensions.
    addPlatformRow(registry, "wmf", "Metafiles", r.metafile);
    addPlatformRow(registry, "emf", "Enhanced Metafiles", r.metafile);
    addPlatformRow(registry, "ico", "Icons", r.icon);
    addPlatformRow(registry, "bmp", "Bitmaps", r.bitmap);
    addPlatformRow(registry, "jpeg", "JPEG Image File", r.jpeg);
    addPlatformRow(registry, "jpg", "JPEG Image File", r.jpeg);

    addRow(registry, "bmp", "Windows bitmaps", r.bitmap);
    addRow(registry, "ico", "Windows icons", r.icon);
    addRow(registry, "wmf", "Windows metafiles", r.metafile);
    addRow(registry, "emf", "Windows enhanced meta files", r.metafile);
    addRow(registry, "jfif", "JFIF images", r.jpeg);
    addRow(registry, "jpg", "JPG images", r.jpeg);
    addRow(registry, "jpe", "JPE images", r.jpeg);
    addRow(registry, "jpeg", "JPEG images", r.jpeg);
    addRow(registry, "rle", "Run length encoded Windows bitmaps", r.bitmap);
    addRow(registry, "dib", "Device independant Windows bitmaps", r.bitmap);
    addRow(registry, "win", "Truevision images", r.targa);
    addRow(registry, "vst", "Truevision images", r.targa);
    addRow(registry, "vda", "Truevision images", r.targa);
    addRow(registry, "tga", "Truevision images", r.targa);
    addRow(registry, "icb", "Truevision images", r.targa);
    addRow(registry, "tiff", "Macintosh TIFF images", r.tiff);
    addRow(registry, "tif", "PC TIF images", r.tiff);
    addRow(registry, "fax", "GFI fax images", r.tiff);
    addRow(registry, "eps", "Encapsulated Postscript images", r.eps);
    addRow(registry, "pcx", "ZSoft Paintbrush images", r.pcx);
    addRow(registry, "pcc", "ZSoft Paintbrush images", r.pcx);
    addRow(registry, "scr", "Word 5.x screen capture images", r.pcx);
    addRow(registry, "rpf", "Alias/Wavefront images", r.rla);
    addRow(registry, "rla", "Alias/Wavefront images", r.rla);
    addRow(registry, "sgi", "SGI true color images", r.sgi);
    addRow(registry, "rgba", "SGI true color images with alpha", r.sgi);
    addRow(registry, "rgb", "SGI true color images", r.sgi);
    addRow(registry, "bw", "SGI black/white images", r.sgi);
    addRow(registry, "psd", "Photoshop images", r.psd);
    addRow(registry, "pdd", "Photoshop images", r.psd);
    addRow(registry, "ppm", "Portable pixel map images", r.ppm);
    addRow(registry, "pgm", "Portable gray map images", r.ppm);
    addRow(registry, "pbm", "Portable bitmap images", r.ppm);
    addRow(registry, "cel", "Autodesk images", r.autodesk);
    addRow(registry, "pic", "Autodesk images", r.autodesk);
    addRow(registry, "pcd", "Kodak Photo-CD images", r.pcd);
    addRow(registry, "gif", "CompuServe images", r.gif);
    addRow(registry, "cut", "Dr. Halo images", r.cut);
    addRow(registry, "psp", "Paintshop Pro images", r.psp);
    addRow(registry, "png", "Portable network graphic images", r.png);
    // Today's phone and web formats, after the table's original rows.
    addRow(registry, "webp", "WebP images", r.webp);
    addRow(registry, "heic", "HEIC images (HEVC coded)", r.heif);
    addRow(registry, "heif", "High efficiency image file format images", r.heif);
    addRow(registry, "avif", "AVIF images (AV1 coded)", r.heif);
    addRow(registry, "jxl", "JPEG XL images", r.jxl);
    // Phone cameras' multi-picture files: a JPEG with more pictures after it, of which the
    // first is shown.
    addRow(registry, "mpo", "Multi-picture JPEG images", r.jpeg);
}

const PictureFormatRegistry& pictureFormats() {
    static PictureFormatRegistry registry;
    static const bool filled = (registerPictureFormats(registry), true);
    (void)filled;
    return registry;
}

} // namespace vellumar
