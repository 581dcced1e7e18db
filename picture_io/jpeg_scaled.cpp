#include "picture_io/jpeg_scaled.h"

// clang-format off
#include <cstdio>  // jpeglib.h wants FILE declared first
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <vector>

namespace stipplor {

namespace {

// libjpeg reports an error by calling error_exit, which must not return: it jumps back to Read.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf back;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1);
}

// Damage it can read past is left to the whole decode to judge, as Qt's reader reports it.
void Quiet(j_common_ptr /*info*/) {}

// Decodes into `pixels`, setting the size; false when the decoder fails. Nothing in this frame
// needs destroying when the decoder jumps back into it.
bool Read(jpeg_decompress_struct& info, ErrorJump& error, QByteArrayView file, int divisor,
          std::vector<PackedColor>& pixels, int& width, int& height) {
  if (setjmp(error.back) != 0) return false;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()),
               static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) return false;
  // Four bytes a pixel, red first: a packed colour once the fourth byte is cleared.
  info.out_color_space = JCS_EXT_RGBX;
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned int>(divisor);
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  while (info.output_scanline < info.output_height) {
    auto* row = reinterpret_cast<JSAMPROW>(pixels.data() +
                                           static_cast<std::size_t>(width) * info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

std::optional<Picture> DecodeJpegFraction(QByteArrayView file, int divisor) {
  jpeg_decompress_struct info{};
  ErrorJump error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpBack;
  error.manager.output_message = Quiet;
  jpeg_create_decompress(&info);
  std::vector<PackedColor> pixels;
  int width = 0;
  int height = 0;
  const bool read = Read(info, error, file, divisor, pixels, width, height);
  jpeg_destroy_decompress(&info);
  if (!read) return std::nullopt;
  for (PackedColor& pixel : pixels) pixel &= 0xFFFFFF;
  return Picture(width, height, std::move(pixels));
}

}  // namespace stipplor
