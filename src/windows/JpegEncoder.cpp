#include "windows/JpegEncoder.h"

#include "support/Failure.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's own handler ends the process; this one returns to the encoder.
[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Only plain data lives in this frame, so the long jump skips no destructor.
bool Compress(const RgbPicture& picture, int quality, unsigned char** out, unsigned long* outSize,
              ErrorTrap& trap) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = OnJpegError;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(picture.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(picture.pixels.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::string EncodeJpeg(const RgbPicture& picture, int quality) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > JPEG_MAX_DIMENSION ||
        picture.height > JPEG_MAX_DIMENSION ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3)
        throw Failure(u"A imagem capturada da tela é inválida.");
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    ErrorTrap trap{};
    const bool done = Compress(picture, quality, &out, &outSize, trap);
    std::string bytes;
    if (done) bytes.assign(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    if (!done) throw Failure(u"JPEG: " + std::u16string(trap.message, trap.message + std::char_traits<char>::length(trap.message)));
    return bytes;
}
