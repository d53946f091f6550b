#pragma once

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <string>

#include "project_error.h"

namespace vellumar {

// A fatal libjpeg error. Its text is "JPEG error #<code>" with the library's message code;
// libraryText() holds the library's own explanation for messages that want to say more.
class JpegError : public ProjectError {
public:
    JpegError(int code, std::string libraryText);

    int code() const { return m_code; }
    const std::string& libraryText() const { return m_libraryText; }

private:
    int m_code;
    std::string m_libraryText;
};

// libjpeg's error_exit hook: throws JpegError for the message the library has just raised.
// libjpeg is plain C without cleanups of its own, so the exception unwinds through it and
// the owner of the compressor or decompressor destroys it as usual.
[[noreturn]] void throwJpegError(j_common_ptr info);

// The error manager of one compressor or decompressor: fatal errors throw JpegError and
// nothing is ever printed. Declare it before the libjpeg object it serves and point the
// object's `err` at it before jpeg_create_compress or jpeg_create_decompress.
struct JpegErrorManager : jpeg_error_mgr {
    JpegErrorManager();
};

} // namespace vellumar
