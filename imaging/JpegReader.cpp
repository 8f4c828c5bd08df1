#include "JpegReader.h"

#include "DecodeCancel.h"
#include "DecodeRefusal.h"
#include "ImageFileHeader.h"
#include "JpegErrorManager.h"
#include "PictureRows.h"
#include "Yelk/TMsgLog.h"

#include <QIODevice>
#include <vector>

namespace {

constexpr std::size_t ChunkBytes = 64 * 1024;
// libjpeg reports progress once per row of blocks of each scan and once per output row:
// the cancel check (which may let events through) is asked every so many reports.
constexpr unsigned CancelPollReports = 64;

// A libjpeg source reading the device in chunks, so that a stream inside a larger file
// is read no further than needed.
struct DeviceSource {
  jpeg_source_mgr pub;
  QIODevice* device;
  JOCTET* chunk;
};

DeviceSource* SourceOf(j_decompress_ptr info) { return reinterpret_cast<DeviceSource*>(info->src); }

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  DeviceSource* source = SourceOf(info);
  const qint64 got = source->device->read(reinterpret_cast<char*>(source->chunk), ChunkBytes);
  // A stream that ends early would decode as a picture half grey: it is corrupt, with
  // libjpeg's own words for it.
  if (got <= 0) ERREXIT(info, JWRN_JPEG_EOF);
  source->pub.next_input_byte = source->chunk;
  source->pub.bytes_in_buffer = static_cast<std::size_t>(got);
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  jpeg_source_mgr& source = SourceOf(info)->pub;
  if (count <= 0) return;
  while (count > static_cast<long>(source.bytes_in_buffer)) {
    count -= static_cast<long>(source.bytes_in_buffer);
    FillInputBuffer(info);
  }
  source.next_input_byte += count;
  source.bytes_in_buffer -= static_cast<std::size_t>(count);
}

// Gives back what was read past the end of the stream.
void TermSource(j_decompress_ptr info) {
  DeviceSource* source = SourceOf(info);
  const bool inChunk = source->pub.next_input_byte >= source->chunk &&
                       source->pub.next_input_byte < source->chunk + ChunkBytes;
  if (inChunk && source->pub.bytes_in_buffer && !source->device->isSequential())
    source->device->seek(source->device->pos() - qint64(source->pub.bytes_in_buffer));
}

std::uint32_t Grey(std::uint8_t g) { return g ? g * 0x010101u : 1; }

std::uint32_t FromCmyk(const std::uint8_t* p, bool inverted) {
  // Adobe's writers store 255 − ink; others store the ink itself.
  const unsigned c = inverted ? p[0] : 255u - p[0], m = inverted ? p[1] : 255u - p[1];
  const unsigned ye = inverted ? p[2] : 255u - p[2], k = inverted ? p[3] : 255u - p[3];
  const std::uint32_t rgb = ((c * k + 127) / 255) << 16 | ((m * k + 127) / 255) << 8 | (ye * k + 127) / 255;
  return rgb ? rgb : 1;
}

enum class Outcome { Done, Failed, Refused, WrongSize, Unsupported, TooManyScans, TooMuchWork, Cancelled };

struct DecodeJob;

// libjpeg's progress monitor: counts the scans as they are taken in and asks the thread's
// cancel check now and then.
struct ScanWatch {
  jpeg_progress_mgr pub;
  DecodeJob* job;
  unsigned reports;
};

// Everything the decoding needs, trivially destructible: a longjmp out of libjpeg may
// leave the decoding frame at any point.
struct DecodeJob {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  DeviceSource source;
  ScanWatch watch;
  RasterImage target;
  int width;
  int height;
  JpegReader::Work work;
  Outcome stop;  // why the decode was left early
};

[[noreturn]] void StopDecode(DecodeJob& job, Outcome why) {
  job.stop = why;
  std::longjmp(job.errors.jump, 1);
}

// The pixels of the components the current scan carries.
std::int64_t ScanPixels(const jpeg_decompress_struct& info) {
  std::int64_t blocks = 0;
  for (int i = 0; i < info.comps_in_scan; ++i)
    blocks += std::int64_t(info.cur_comp_info[i]->width_in_blocks) * info.cur_comp_info[i]->height_in_blocks;
  return blocks * DCTSIZE2;
}

// MaxPasses passes over every component, and MaxScans passes over a small picture of the
// same components.
std::int64_t WorkBudget(const jpeg_decompress_struct& info) {
  std::int64_t pass = 0;
  for (int c = 0; c < info.num_components; ++c)
    pass += std::int64_t(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks * DCTSIZE2;
  const std::int64_t pixels = std::int64_t(info.image_width) * info.image_height;
  return JpegReader::MaxPasses * pass + JpegReader::MaxScans * JpegReader::SmallPixels * pass / pixels;
}

// Counts a scan once its header is read, before any of its data.
void CountScan(DecodeJob& job) {
  job.work.scans = job.info.input_scan_number;
  if (job.work.scans > JpegReader::MaxScans) StopDecode(job, Outcome::TooManyScans);
  const std::int64_t pixels = job.work.pixels + ScanPixels(job.info);
  if (pixels > job.work.budget) StopDecode(job, Outcome::TooMuchWork);
  job.work.pixels = pixels;
}

// libjpeg reports progress before each scan's data and once per row of blocks and output
// row: the scans are counted as they start, and the thread's cancel check asked now and then.
void WatchProgress(j_common_ptr common) {
  DecodeJob& job = *reinterpret_cast<ScanWatch*>(common->progress)->job;
  if (job.info.input_scan_number != job.work.scans) CountScan(job);
  if (job.watch.reports++ % CancelPollReports == 0 && DecodeCancel::Requested())
    StopDecode(job, Outcome::Cancelled);
}

void ConvertRow(const DecodeJob& job, const std::uint8_t* from, std::uint32_t* to) {
  const int count = job.target.width;
  switch (job.info.out_color_space) {
    case JCS_GRAYSCALE:
      for (int i = 0; i < count; ++i) to[i] = Grey(from[i]);
      break;
    case JCS_CMYK:
      for (int i = 0; i < count; ++i) to[i] = FromCmyk(from + 4 * i, job.info.saw_Adobe_marker);
      break;
    default:  // decoded straight into the row as B, G, R, X
      StorePictureRow(to, to, count);
  }
}

bool ChooseOutput(jpeg_decompress_struct& info) {
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; return true;
    case JCS_YCbCr:
    case JCS_RGB: info.out_color_space = JCS_EXT_BGRX; return true;
    case JCS_CMYK:
    case JCS_YCCK: info.out_color_space = JCS_CMYK; return true;
    default: return false;
  }
}

Outcome RunDecode(DecodeJob& job) {
  j_decompress_ptr info = &job.info;
  job.stop = Outcome::Failed;
  if (setjmp(job.errors.jump)) return job.stop;
  jpeg_read_header(info, TRUE);
  job.width = static_cast<int>(info->image_width);
  job.height = static_cast<int>(info->image_height);
  if (!ImageFileHeader::Acceptable(info->image_width, info->image_height)) return Outcome::Refused;
  if (job.width != job.target.width || job.height != job.target.height) return Outcome::WrongSize;
  if (!ChooseOutput(job.info)) return Outcome::Unsupported;
  job.work.budget = WorkBudget(job.info);
  jpeg_start_decompress(info);
  // Colour pictures decode straight into the buffer's rows; the others through a scratch row.
  const bool direct = info->out_color_space == JCS_EXT_BGRX;
  JSAMPARRAY scratch = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                  info->output_width * 4, 1);
  while (info->output_scanline < info->output_height) {
    std::uint32_t* row = job.target.Row(static_cast<int>(info->output_scanline));
    JSAMPROW into = direct ? reinterpret_cast<JSAMPROW>(row) : scratch[0];
    if (jpeg_read_scanlines(info, &into, 1) != 1) return Outcome::Failed;
    ConvertRow(job, into, row);
  }
  jpeg_finish_decompress(info);
  return Outcome::Done;
}

// The reason a decode failed, for the log and the player; empty for a cancelled one.
QString Reason(Outcome outcome, const DecodeJob& job, const QString& error) {
  const QString size = QStringLiteral("%1 x %2").arg(job.width).arg(job.height);
  switch (outcome) {
    case Outcome::Done:
    case Outcome::Cancelled: return {};
    case Outcome::Failed: return error;
    case Outcome::Refused: return QStringLiteral("JPEG of %1 refused").arg(size);
    case Outcome::WrongSize:
      return QStringLiteral("JPEG of %1 does not fit %2 x %3").arg(size).arg(job.target.width).arg(job.target.height);
    case Outcome::Unsupported: return QStringLiteral("JPEG colour space not supported");
    case Outcome::TooManyScans: return QStringLiteral("JPEG error: more than %1 scans").arg(JpegReader::MaxScans);
    case Outcome::TooMuchWork:
      return QStringLiteral("JPEG error: scans take in more than %1 million pixels").arg(job.work.budget / 1000000);
  }
  return error;
}

}  // namespace

bool JpegReader::Decode(QIODevice& device, const RasterImage& target, const QString& what) {
  Work work;
  return DecodeCounted(device, target, what, work);
}

bool JpegReader::DecodeCounted(QIODevice& device, const RasterImage& target, const QString& what, Work& work) {
  if (!target.pixels) return false;
  std::vector<JOCTET> chunk(ChunkBytes);
  DecodeJob job{};
  job.target = target;
  job.errors.Install(reinterpret_cast<j_common_ptr>(&job.info));
  jpeg_create_decompress(&job.info);
  job.source.device = &device;
  job.source.chunk = chunk.data();
  job.source.pub.init_source = InitSource;
  job.source.pub.fill_input_buffer = FillInputBuffer;
  job.source.pub.skip_input_data = SkipInputData;
  job.source.pub.resync_to_restart = jpeg_resync_to_restart;
  job.source.pub.term_source = TermSource;
  job.info.src = &job.source.pub;
  job.watch.pub.progress_monitor = WatchProgress;
  job.watch.job = &job;
  job.info.progress = &job.watch.pub;

  const Outcome outcome = RunDecode(job);
  const QString error = JpegErrorManager::Describe(reinterpret_cast<j_common_ptr>(&job.info));
  jpeg_destroy_decompress(&job.info);
  work = job.work;
  if (outcome == Outcome::Done) return true;
  if (outcome == Outcome::Cancelled) {
    TMsgLog::Add(QStringLiteral("%1 - JPEG decode cancelled").arg(what));
    return false;
  }
  const QString reason = Reason(outcome, job, error);
  TMsgLog::Add(QStringLiteral("%1 - %2").arg(what, reason));
  DecodeRefusal::Report(reason);
  return false;
}
