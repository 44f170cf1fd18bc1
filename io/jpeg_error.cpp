#include "io/jpeg_error.h"

namespace pelvano {

namespace {

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    // pub is the first member, so the error manager's address is the whole struct's.
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void DropMessage(j_common_ptr) {}

} // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager) {
    jpeg_error_mgr* pub = jpeg_std_error(&manager.pub);
    pub->error_exit = JumpOnError;
    pub->output_message = DropMessage;
    return pub;
}

QString JpegErrorMessage(const JpegErrorManager& manager) {
    return QStringLiteral("JPEG error #%1").arg(manager.pub.msg_code);
}

} // namespace pelvano
