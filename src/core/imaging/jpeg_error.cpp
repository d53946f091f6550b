#include "jpeg_error.h"

namespace vellumar {

namespace {

// Warnings and trace messages are of no interest to the user.
void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

} // namespace

JpegError::JpegError(int code, std::string libraryText)
    : ProjectError("JPEG error #" + std::to_string(code)), m_code(code),
      m_libraryText(std::move(libraryText)) {}

void throwJpegError(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, text);
    throw JpegError(info->err->msg_code, text);
}

JpegErrorManager::JpegErrorManager() : jpeg_error_mgr() {
    jpeg_std_error(this);
    error_exit = throwJpegError;
    emit_message = ignoreMessage;
    output_message = ignoreOutput;
}

} // namespace vellumar
