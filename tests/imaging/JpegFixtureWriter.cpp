#include "JpegFixtureWriter.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace JpegFixtureWriter {

namespace {

void FillRow(const QImage& image, int y, Kind kind, std::vector<JSAMPLE>& row) {
  for (int x = 0; x < image.width(); ++x) {
    const QRgb p = image.pixel(x, y);
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    switch (kind) {
      case Kind::Grey: row[x] = JSAMPLE(qGray(p)); break;
      case Kind::Cmyk:
      case Kind::CmykAdobeInverted:
      case Kind::Ycck: {
        const int k = 255 - std::max({r, g, b});
        const int c = k == 255 ? 0 : (255 - r - k) * 255 / (255 - k);
        const int m = k == 255 ? 0 : (255 - g - k) * 255 / (255 - k);
        const int ye = k == 255 ? 0 : (255 - b - k) * 255 / (255 - k);
        const bool inverted = kind != Kind::Cmyk;  // Adobe's writers store 255 − ink
        const int values[4] = {c, m, ye, k};
        for (int i = 0; i < 4; ++i) row[4 * x + i] = JSAMPLE(inverted ? 255 - values[i] : values[i]);
        break;
      }
      default:
        row[3 * x] = JSAMPLE(r);
        row[3 * x + 1] = JSAMPLE(g);
        row[3 * x + 2] = JSAMPLE(b);
    }
  }
}

// Coefficients 1 to 63 of one component in `count` scans: in bands while there are fewer
// scans than coefficients, else each coefficient on its own, first at a coarse bit
// position and then refined bit by bit (at most 11 scans for 8-bit samples).
void AddAcScans(int component, int count, std::vector<jpeg_scan_info>& script) {
  const auto add = [&](int first, int last, int high, int low) {
    jpeg_scan_info scan{};
    scan.comps_in_scan = 1;
    scan.component_index[0] = component;
    scan.Ss = first;
    scan.Se = last;
    scan.Ah = high;
    scan.Al = low;
    script.push_back(scan);
  };
  if (count <= 63) {
    for (int band = 0; band < count; ++band) add(1 + 63 * band / count, 63 * (band + 1) / count, 0, 0);
    return;
  }
  for (int coefficient = 1; coefficient <= 63; ++coefficient) {
    const int steps = count / 63 + (coefficient <= count % 63 ? 1 : 0);
    add(coefficient, coefficient, 0, steps - 1);
    for (int bit = steps - 2; bit >= 0; --bit) add(coefficient, coefficient, bit + 1, bit);
  }
}

// The DC of every component in one scan, then the AC scans shared out among the components.
std::vector<jpeg_scan_info> ScanScript(int components, int scans) {
  std::vector<jpeg_scan_info> script(1);
  script[0].comps_in_scan = components;
  for (int c = 0; c < components; ++c) script[0].component_index[c] = c;
  const int ac = scans - 1;
  for (int c = 0; c < components; ++c) AddAcScans(c, ac / components + (c < ac % components ? 1 : 0), script);
  return script;
}

void SetUp(jpeg_compress_struct& info, const QImage& image, const Options& options,
           std::vector<jpeg_scan_info>& script) {
  info.image_width = JDIMENSION(image.width());
  info.image_height = JDIMENSION(image.height());
  const bool cmyk = options.kind == Kind::Cmyk || options.kind == Kind::CmykAdobeInverted ||
                    options.kind == Kind::Ycck;
  info.input_components = options.kind == Kind::Grey ? 1 : cmyk ? 4 : 3;
  info.in_color_space = options.kind == Kind::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  if (options.kind == Kind::Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  if (options.kind == Kind::Rgb) jpeg_set_colorspace(&info, JCS_RGB);
  if (options.kind == Kind::Cmyk) info.write_Adobe_marker = FALSE;
  jpeg_set_quality(&info, options.quality, TRUE);
  info.comp_info[0].h_samp_factor = options.hSampling;
  info.comp_info[0].v_samp_factor = options.vSampling;
  if (options.progressive) jpeg_simple_progression(&info);
  info.arith_code = options.arithmetic;
  info.restart_interval = unsigned(options.restartInterval);
  if (options.scans > 0) {
    script = ScanScript(info.num_components, options.scans);
    info.scan_info = script.data();
    info.num_scans = int(script.size());
  }
}

void Put16(QByteArray& bytes, int value) {
  bytes.append(char(value >> 8));
  bytes.append(char(value & 0xFF));
}

void PutScanHeader(QByteArray& bytes, int first, int count, int ss, int se, int ah, int al) {
  bytes.append("\xFF\xDA", 2);
  Put16(bytes, 6 + 2 * count);
  bytes.append(char(count));
  for (int c = first; c < first + count; ++c) bytes.append(char(c + 1)).append('\0');
  bytes.append(char(ss)).append(char(se)).append(char(ah << 4 | al));
}

}  // namespace

QByteArray Write(const EmptyScans& frame) {
  QByteArray bytes("\xFF\xD8\xFF\xDB", 4);
  Put16(bytes, 67);
  bytes.append('\0').append(64, '\1');
  bytes.append("\xFF\xCA", 2);  // progressive, arithmetic-coded
  Put16(bytes, 8 + 3 * frame.components);
  bytes.append('\x08');
  Put16(bytes, frame.height);
  Put16(bytes, frame.width);
  bytes.append(char(frame.components));
  for (int c = 0; c < frame.components; ++c) {
    const bool subsampled = frame.components == 3;  // luma 2 x 2, chroma 1 x 1
    bytes.append(char(c + 1)).append(subsampled && c == 0 ? '\x22' : '\x11').append('\0');
  }
  if (frame.restartInterval) {
    bytes.append("\xFF\xDD", 2);
    Put16(bytes, 4);
    Put16(bytes, frame.restartInterval);
  }
  // The first DC scan leaves its lowest bit for the refinements that follow.
  PutScanHeader(bytes, 0, frame.components, 0, 0, 0, frame.interleaved ? 1 : 0);
  for (int scan = 1; scan < frame.scans; ++scan) {
    const int k = 1 + (scan - 1) / frame.components % 63;
    if (frame.interleaved)
      PutScanHeader(bytes, 0, frame.components, 0, 0, 1, 0);
    else
      PutScanHeader(bytes, (scan - 1) % frame.components, 1, k, k, 0, 0);
  }
  return bytes.append("\xFF\xD9", 2);
}

int MostScans(int components) { return 1 + components * 63 * 11; }

QByteArray Write(const QImage& source, const Options& options) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &bytes, &size);
  std::vector<jpeg_scan_info> script;
  SetUp(info, image, options, script);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(std::size_t(image.width()) * 4);
  while (info.next_scanline < info.image_height) {
    FillRow(image, int(info.next_scanline), options.kind, row);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  QByteArray result(reinterpret_cast<const char*>(bytes), qsizetype(size));
  jpeg_destroy_compress(&info);
  std::free(bytes);
  return result;
}

}  // namespace JpegFixtureWriter
