#include "JpegWriter.h"

#include "JpegErrorManager.h"
#include "Yelk/TMsgLog.h"

#include <QIODevice>
#include <new>
#include <vector>

namespace {

struct VectorDestination {
  jpeg_destination_mgr pub;
  std::vector<JOCTET>* bytes;
};

VectorDestination* DestinationOf(j_compress_ptr info) {
  return reinterpret_cast<VectorDestination*>(info->dest);
}

// Grows the vector to size; an allocation failure becomes libjpeg's own error, raised
// outside the catch block so that no exception is left pending.
void Grow(j_compress_ptr info, std::size_t size) {
  bool grown = true;
  try {
    DestinationOf(info)->bytes->resize(size);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
}

void InitDestination(j_compress_ptr info) {
  Grow(info, 64 * 1024);
  std::vector<JOCTET>& bytes = *DestinationOf(info)->bytes;
  info->dest->next_output_byte = bytes.data();
  info->dest->free_in_buffer = bytes.size();
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  std::vector<JOCTET>& bytes = *DestinationOf(info)->bytes;
  const std::size_t used = bytes.size();
  Grow(info, used * 2);
  info->dest->next_output_byte = bytes.data() + used;
  info->dest->free_in_buffer = bytes.size() - used;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  std::vector<JOCTET>& bytes = *DestinationOf(info)->bytes;
  bytes.resize(bytes.size() - info->dest->free_in_buffer);
}

struct EncodeJob {
  jpeg_compress_struct info;
  JpegErrorManager errors;
  VectorDestination destination;
  RasterImage image;
};

bool RunEncode(EncodeJob& job) {
  j_compress_ptr info = &job.info;
  if (setjmp(job.errors.jump)) return false;
  info->image_width = static_cast<JDIMENSION>(job.image.width);
  info->image_height = static_cast<JDIMENSION>(job.image.height);
  info->input_components = 4;
  info->in_color_space = JCS_EXT_BGRX;  // the buffer's own rows: B, G, R, unused
  jpeg_set_defaults(info);
  jpeg_set_quality(info, JpegWriter::Quality, TRUE);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(job.image.Row(static_cast<int>(info->next_scanline)));
    jpeg_write_scanlines(info, &row, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

}  // namespace

bool JpegWriter::Encode(const RasterImage& image, QIODevice& device, const QString& what) {
  if (!image.pixels) return false;
  std::vector<JOCTET> bytes;
  EncodeJob job{};
  job.image = image;
  job.errors.Install(reinterpret_cast<j_common_ptr>(&job.info));
  jpeg_create_compress(&job.info);
  job.destination.bytes = &bytes;
  job.destination.pub.init_destination = InitDestination;
  job.destination.pub.empty_output_buffer = EmptyOutputBuffer;
  job.destination.pub.term_destination = TermDestination;
  job.info.dest = &job.destination.pub;
  const bool encoded = RunEncode(job);
  const QString error = JpegErrorManager::Describe(reinterpret_cast<j_common_ptr>(&job.info));
  jpeg_destroy_compress(&job.info);
  if (!encoded) {
    TMsgLog::Add(QStringLiteral("%1 - %2").arg(what, error));
    return false;
  }
  const auto size = static_cast<qint64>(bytes.size());
  if (device.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    TMsgLog::Add(QStringLiteral("%1 - JPEG could not be written: %2").arg(what, device.errorString()));
    return false;
  }
  return true;
}
