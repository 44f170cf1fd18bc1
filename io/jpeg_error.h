#pragma once

#include <QString>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

namespace pelvano {

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back to
// the setjmp in the function that drives the codec; that function keeps no object with a
// destructor alive across libjpeg calls, so the jump skips nothing. Warnings and trace messages
// are dropped: a truncated file decodes as far as its data go, silently.
struct JpegErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
};

// Fills `manager` and returns the pointer to hang on cinfo.err.
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager);

// "JPEG error #N" with libjpeg's number of the fatal message.
QString JpegErrorMessage(const JpegErrorManager& manager);

} // namespace pelvano
