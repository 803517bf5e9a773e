#include "assets/PictureDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "assets/FileBytes.h"
#include "assets/SoilLoader.h"

// The decoders, private to this file. Every block they take starts zeroed: a hostile file can
// make a decoder read memory it never wrote (a quantization table no segment defined, a plane no
// scan covers), which would otherwise hold whatever an earlier picture left there.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(block, size) std::realloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include "stb_image_guarded.h"  // Debian's stb_image with the checks of cmake/StbImage.cmake
#pragma GCC diagnostic pop

namespace nerith {
namespace {

// A byte source for the decoders that notices when a decoder asks for bytes past the end: the
// picture then is shorter than its headers say.
struct PictureSource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0, at = 0;
    bool ranOut = false;

    void Rewind() {
        at = 0;
        ranOut = false;
    }
    static int Read(void* user, char* out, int wanted) {
        auto* s = static_cast<PictureSource*>(user);
        if (wanted <= 0) return 0;
        const std::size_t left = s->size - s->at;
        const std::size_t got = left < static_cast<std::size_t>(wanted) ? left : static_cast<std::size_t>(wanted);
        if (got > 0) std::memcpy(out, s->data + s->at, got);
        s->at += got;
        if (got == 0) s->ranOut = true;
        return static_cast<int>(got);
    }
    static void Skip(void* user, int n) {
        auto* s = static_cast<PictureSource*>(user);
        if (n > 0) s->at = s->size - s->at < static_cast<std::size_t>(n) ? s->size : s->at + static_cast<std::size_t>(n);
    }
    static int AtEnd(void* user) {
        auto* s = static_cast<PictureSource*>(user);
        return s->at >= s->size;
    }
};

stbi_io_callbacks sourceCallbacks = {&PictureSource::Read, &PictureSource::Skip, &PictureSource::AtEnd};

// Where the JPEG decoder finds the start marker: it takes any run of 0xFF bytes before it. 0 when
// the file is not a JPEG to it.
std::size_t JpegStart(const std::uint8_t* d, std::size_t n) {
    std::size_t at = 0;
    while (at < n && d[at] == 0xFF) ++at;
    return at > 0 && at < n && d[at] == 0xD8 ? at + 1 : 0;
}

// Faults of the JPEG decoder with hostile files: it builds each Huffman table into room for 256
// codes without checking the counts it reads, so a table that declares more overwrites memory; a
// scan that decodes with a Huffman table no segment defined reads far outside the tables; and a
// component whose quantization table no segment defined is dequantized with whatever memory
// held. Walks the marker segments as the decoder meets them (entropy-coded data skipped up to the
// next marker) and refuses a table whose 16 counts add up to more than 256, and a scan that needs
// a table not defined before it.
bool JpegTablesFit(const std::uint8_t* d, std::size_t n) {
    std::size_t at = JpegStart(d, n);
    if (at == 0) return true;  // not a JPEG
    bool defined[2][4] = {};   // Huffman tables [DC, AC][table]
    bool quantized[4] = {};    // quantization tables
    int frameIds[4] = {}, frameTables[4] = {}, frameCount = -1;  // the frame's components
    bool progressive = false;
    while (at + 1 < n) {
        if (d[at] != 0xFF) {
            // Entropy-coded data or padding, up to the next 0xFF.
            const void* next = std::memchr(d + at, 0xFF, n - at);
            if (!next) return true;
            at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - d);
            continue;
        }
        const std::uint8_t m = d[at + 1];
        if (m == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (m == 0x00 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
            at += 2;  // stuffed byte, TEM, restart marker: no length
            continue;
        }
        if (m == 0xD9) return true;  // end of image
        if (at + 3 >= n) return true;
        const std::size_t length = static_cast<std::size_t>(d[at + 2]) << 8 | d[at + 3];
        if (m == 0xC4) {
            long left = static_cast<long>(length) - 2;
            std::size_t p = at + 4;
            while (left > 0) {
                if (p >= n) return true;  // the decoder reads zeros from here on
                if ((d[p] >> 4) > 1 || (d[p] & 15) > 3) return true;  // the decoder refuses it
                defined[d[p] >> 4][d[p] & 15] = true;
                int codes = 0;
                for (std::size_t i = 1; i <= 16 && p + i < n; ++i) codes += d[p + i];
                if (codes > 256) return false;
                p += 17 + static_cast<std::size_t>(codes);
                left -= 17 + codes;
            }
            if (left != 0) return true;  // the decoder stops at this segment
        }
        if (m == 0xDB) {
            long left = static_cast<long>(length) - 2;
            std::size_t p = at + 4;
            while (left > 0 && p < n) {
                const int precision = d[p] >> 4, table = d[p] & 15;
                if (precision > 1 || table > 3) return true;  // the decoder refuses it
                quantized[table] = true;
                const long entry = 1 + 64 * (precision + 1);
                p += static_cast<std::size_t>(entry);
                left -= entry;
            }
        }
        if ((m == 0xC0 || m == 0xC1 || m == 0xC2) && frameCount < 0 && at + 9 < n) {
            // The frame (the decoder reads the first one only): each component's id and table.
            frameCount = std::min<int>(d[at + 9], 4);
            for (int c = 0; c < frameCount; ++c) {
                const std::size_t p = at + 10 + 3 * static_cast<std::size_t>(c);
                frameIds[c] = p < n ? d[p] : -1;
                frameTables[c] = p + 2 < n ? d[p + 2] : 0;
            }
        }
        if (m == 0xC2) progressive = true;
        if (m == 0xDA && at + 4 < n) {
            // Start of scan: the components' tables, then the spectral start and the refinement.
            const std::size_t count = d[at + 4];
            const std::size_t tail = at + 5 + 2 * count;
            if (tail + 2 >= n) return true;  // ends early: nothing is decoded from it
            const bool dcScan = d[tail] == 0;
            const bool firstPass = (d[tail + 2] >> 4) == 0;
            const bool needDc = !progressive || (dcScan && firstPass);
            const bool needAc = !progressive || !dcScan;
            for (std::size_t c = 0; c < count; ++c) {
                const int id = d[at + 5 + 2 * c];
                const int dc = d[at + 6 + 2 * c] >> 4, ac = d[at + 6 + 2 * c] & 15;
                if (dc > 3 || ac > 3) return true;  // the decoder refuses it
                if ((needDc && !defined[0][dc]) || (needAc && !defined[1][ac])) return false;
                // The decoder takes the first frame component with this id.
                for (int f = 0; f < frameCount; ++f)
                    if (frameIds[f] == id) {
                        if (frameTables[f] <= 3 && !quantized[frameTables[f]]) return false;
                        break;
                    }
            }
        }
        at += 2 + length;
    }
    return true;
}

// The PNG decoder reserves room for a data chunk from the length the chunk declares, before
// reading it: a short file declaring gigabytes would make it allocate them. Refuses a chunk that
// declares more bytes than the file still holds.
bool PngChunksFit(const std::uint8_t* d, std::size_t n) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    if (n < 8 || std::memcmp(d, signature, 8) != 0) return true;  // not a PNG
    std::size_t at = 8;
    while (at + 8 <= n) {
        const std::size_t length = static_cast<std::size_t>(d[at]) << 24 | static_cast<std::size_t>(d[at + 1]) << 16 |
                                   static_cast<std::size_t>(d[at + 2]) << 8 | d[at + 3];
        if (length > n - at - 8) return false;
        if (std::memcmp(d + at + 4, "IEND", 4) == 0) return true;
        at += 12 + length;
    }
    return true;
}

struct FreeWithStb {
    void operator()(void* block) const { stbi_image_free(block); }
};

// The whole picture from `source`, as SOIL_LOAD_AUTO decodes it; null when it cannot be decoded
// or the file ran out before the picture did.
std::unique_ptr<stbi_uc, FreeWithStb> DecodeWhole(PictureSource& source, int& width, int& height, int& channels) {
    source.Rewind();
    std::unique_ptr<stbi_uc, FreeWithStb> pixels(
        stbi_load_from_callbacks(&sourceCallbacks, &source, &width, &height, &channels, 0));
    if (source.ranOut) pixels.reset();
    return pixels;
}

int ReducedSide(int side, int factor) { return (side + factor - 1) / factor; }

// Whether a width x height picture is decoded as SOIL decodes it: within the bounds, and its
// texture (power-of-two sides) no larger than the one that covers limits.cover*.
bool TakenWhole(int width, int height, const PictureLimits& limits) {
    if (limits.maxSide > 0 && (width > limits.maxSide || height > limits.maxSide)) return false;
    if (static_cast<long long>(width) * height > limits.maxPixels) return false;
    return limits.coverWidth <= 0 || limits.coverHeight <= 0 ||
           (PowerOfTwoAtLeast(width) <= PowerOfTwoAtLeast(limits.coverWidth) &&
            PowerOfTwoAtLeast(height) <= PowerOfTwoAtLeast(limits.coverHeight));
}

// The size a larger picture is reduced to: the power-of-two sides SOIL would give its texture,
// each no larger than the power of two that covers limits.cover* or than the side bound, then
// the longer side halved while the pixels are more than the bound.
void ReducedSize(int width, int height, const PictureLimits& limits, int& outWidth, int& outHeight) {
    int sides[2] = {PowerOfTwoAtLeast(width), PowerOfTwoAtLeast(height)};
    const int cover[2] = {limits.coverWidth, limits.coverHeight};
    for (int i = 0; i < 2; ++i) {
        if (cover[0] > 0 && cover[1] > 0) sides[i] = std::min(sides[i], PowerOfTwoAtLeast(cover[i]));
        while (limits.maxSide > 0 && sides[i] > limits.maxSide && sides[i] > 1) sides[i] /= 2;
    }
    while (static_cast<long long>(sides[0]) * sides[1] > std::max(1LL, limits.maxPixels))
        sides[sides[0] >= sides[1] ? 0 : 1] /= 2;
    outWidth = sides[0];
    outHeight = sides[1];
}

// ---- JPEG pictures decoded at 1/2, 1/4 or 1/8 of their size ---------------------------------

// The JPEG decoder's own parts (headers, scans, Huffman blocks, inverse DCT, colour conversion)
// driven so that each decoded 8 x 8 block is averaged at once into (8 / scale)^2 pixels of a
// reduced plane: no plane of the full size is ever held. A baseline picture takes its planes and
// little else; a progressive one also holds its coefficients (2 bytes a sample) until the end.
class ReducedJpeg {
public:
    // Reads the headers up to and including the frame; false when the decoder refuses them.
    bool ReadFrame(PictureSource& source) {
        jpeg_.reset(static_cast<stbi__jpeg*>(std::calloc(1, sizeof(stbi__jpeg))));
        if (!jpeg_) return false;
        stbi__start_callbacks(&context_, &sourceCallbacks, &source);
        stbi__jpeg* z = jpeg_.get();
        z->s = &context_;
        stbi__setup_jpeg(z);
        return stbi__decode_jpeg_header(z, STBI__SCAN_header) && Geometry();
    }

    // The 8 x 8 blocks of all components: each takes at least one bit of the file.
    long long Blocks() const {
        long long blocks = 0;
        for (int n = 0; n < Components(); ++n) {
            const auto& c = jpeg_->img_comp[n];
            blocks += static_cast<long long>((c.x + 7) >> 3) * ((c.y + 7) >> 3);
        }
        return blocks;
    }

    // The memory that decoding at 1/scale holds.
    long long BytesFor(int scale) const {
        long long bytes = static_cast<long long>(ReducedSide(context_.img_x, scale)) * ReducedSide(context_.img_y, scale) * 3;
        for (int n = 0; n < Components(); ++n) {
            const auto& c = jpeg_->img_comp[n];
            const long long samples = static_cast<long long>(c.w2) * c.h2;
            bytes += samples / (Reduction(n, scale, true) * Reduction(n, scale, false));
            if (jpeg_->progressive) bytes += 2 * samples;
        }
        return bytes;
    }

    bool Decode(int scale, SoilImage& out) {
        stbi__jpeg* z = jpeg_.get();
        scale_ = scale;
        for (int n = 0; n < Components(); ++n) {
            auto& c = z->img_comp[n];
            across_[n] = Reduction(n, scale, true);
            down_[n] = Reduction(n, scale, false);
            planeWidth_[n] = c.w2 / across_[n];
            planes_[n].assign(static_cast<std::size_t>(planeWidth_[n]) * (c.h2 / down_[n]), 0);
            if (z->progressive) {
                coefficients_[n].assign(static_cast<std::size_t>(c.w2) * c.h2, 0);
                c.coeff = coefficients_[n].data();
                c.coeff_w = c.w2 / 8;
                c.coeff_h = c.h2 / 8;
            }
        }
        // The marker loop of the decoder's own image decoding.
        int m = stbi__get_marker(z);
        while (!stbi__EOI(m)) {
            if (stbi__SOS(m)) {
                if (!stbi__process_scan_header(z)) return false;
                if (!(z->progressive ? stbi__parse_entropy_coded_data(z) : BaselineScan())) return false;
                if (z->marker == STBI__MARKER_none) {
                    // Zeros after the scan, as some cameras write: on to the next marker.
                    while (!stbi__at_eof(z->s)) {
                        if (stbi__get8(z->s) == 255) {
                            z->marker = stbi__get8(z->s);
                            break;
                        }
                    }
                }
            } else if (stbi__DNL(m)) {
                const int length = stbi__get16be(z->s);
                const stbi__uint32 lines = stbi__get16be(z->s);
                if (length != 4 || lines != z->s->img_y) return false;
            } else if (!stbi__process_marker(z, m)) {
                return false;
            }
            m = stbi__get_marker(z);
        }
        if (z->progressive) FinishProgressive();
        Convert(out);
        return true;
    }

private:
    int Components() const { return context_.img_n; }

    // How many of component n's own samples go into one sample of its reduced plane, across or
    // down, for an output at 1/scale: a subsampled plane is reduced less, so that it keeps the
    // output's resolution where it can (a power of two that divides 8).
    int Reduction(int n, int scale, bool across) const {
        const auto& c = jpeg_->img_comp[n];
        const int share = across ? scale * c.h / jpeg_->img_h_max : scale * c.v / jpeg_->img_v_max;
        int reduction = 1;
        while (reduction * 2 <= share) reduction *= 2;
        return reduction;
    }

    // Sampling, MCUs and each component's sizes, as the decoder works them out for a whole
    // decoding.
    bool Geometry() {
        stbi__jpeg* z = jpeg_.get();
        int hMax = 1, vMax = 1;
        for (int n = 0; n < Components(); ++n) {
            hMax = std::max(hMax, z->img_comp[n].h);
            vMax = std::max(vMax, z->img_comp[n].v);
        }
        for (int n = 0; n < Components(); ++n)
            if (hMax % z->img_comp[n].h != 0 || vMax % z->img_comp[n].v != 0) return false;
        z->img_h_max = hMax;
        z->img_v_max = vMax;
        z->img_mcu_w = hMax * 8;
        z->img_mcu_h = vMax * 8;
        z->img_mcu_x = (context_.img_x + z->img_mcu_w - 1) / z->img_mcu_w;
        z->img_mcu_y = (context_.img_y + z->img_mcu_h - 1) / z->img_mcu_h;
        for (int n = 0; n < Components(); ++n) {
            auto& c = z->img_comp[n];
            c.x = (context_.img_x * c.h + hMax - 1) / hMax;
            c.y = (context_.img_y * c.v + vMax - 1) / vMax;
            c.w2 = z->img_mcu_x * c.h * 8;
            c.h2 = z->img_mcu_y * c.v * 8;
        }
        return true;
    }

    // One block of component n (its coefficients dequantized): inverse DCT, then every block of
    // its reduction averaged into its sample of the reduced plane. Reduced by 8 both ways the
    // average is the DC coefficient's share alone, and no inverse DCT is needed.
    void Put(int n, int blockX, int blockY, short* coefficients) {
        const int across = across_[n], down = down_[n];
        if (across == 8 && down == 8) {
            const long mean = 128 + std::lround(coefficients[0] / 8.0);
            planes_[n][static_cast<std::size_t>(blockY) * planeWidth_[n] + blockX] =
                static_cast<stbi_uc>(std::clamp(mean, 0L, 255L));
            return;
        }
        alignas(16) stbi_uc block[64];
        jpeg_->idct_block_kernel(block, 8, coefficients);
        const int columns = 8 / across, rows = 8 / down, area = across * down;
        stbi_uc* row = planes_[n].data() + static_cast<std::size_t>(blockY * rows) * planeWidth_[n] + blockX * columns;
        for (int v = 0; v < rows; ++v, row += planeWidth_[n])
            for (int u = 0; u < columns; ++u) {
                int sum = area / 2;
                for (int y = 0; y < down; ++y)
                    for (int x = 0; x < across; ++x) sum += block[(v * down + y) * 8 + u * across + x];
                row[u] = static_cast<stbi_uc>(sum / area);
            }
    }

    // One baseline scan, interleaved or not, with the decoder's block decoding and restart
    // handling.
    bool BaselineScan() {
        stbi__jpeg* z = jpeg_.get();
        stbi__jpeg_reset(z);
        alignas(16) short data[64];
        auto block = [&](int n, int x, int y) {
            const auto& c = z->img_comp[n];
            if (!stbi__jpeg_decode_block(z, data, z->huff_dc + c.hd, z->huff_ac + c.ha, z->fast_ac[c.ha], n,
                                         z->dequant[c.tq]))
                return false;
            Put(n, x, y, data);
            return true;
        };
        // After each MCU: false when the scan ends here (no restart marker where one is due).
        auto next = [&] {
            if (--z->todo > 0) return true;
            if (z->code_bits < 24) stbi__grow_buffer_unsafe(z);
            if (!STBI__RESTART(z->marker)) return false;
            stbi__jpeg_reset(z);
            return true;
        };
        if (z->scan_n == 1) {
            const int n = z->order[0];
            const int w = (z->img_comp[n].x + 7) >> 3, h = (z->img_comp[n].y + 7) >> 3;
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    if (!block(n, i, j)) return false;
                    if (!next()) return true;
                }
            return true;
        }
        for (int j = 0; j < z->img_mcu_y; ++j)
            for (int i = 0; i < z->img_mcu_x; ++i) {
                for (int k = 0; k < z->scan_n; ++k) {
                    const int n = z->order[k];
                    const int h = z->img_comp[n].h, v = z->img_comp[n].v;
                    for (int y = 0; y < v; ++y)
                        for (int x = 0; x < h; ++x)
                            if (!block(n, i * h + x, j * v + y)) return false;
                }
                if (!next()) return true;
            }
        return true;
    }

    // The progressive picture's coefficients, dequantized and reduced block by block.
    void FinishProgressive() {
        stbi__jpeg* z = jpeg_.get();
        alignas(16) short data[64];
        for (int n = 0; n < Components(); ++n) {
            const auto& c = z->img_comp[n];
            const stbi__uint16* dequant = z->dequant[c.tq];
            const int w = (c.x + 7) >> 3, h = (c.y + 7) >> 3;
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    const short* stored = c.coeff + 64 * (i + static_cast<std::size_t>(j) * c.coeff_w);
                    const int used = across_[n] == 8 && down_[n] == 8 ? 1 : 64;
                    for (int t = 0; t < used; ++t) data[t] = static_cast<short>(stored[t] * dequant[t]);
                    Put(n, i, j, data);
                }
            coefficients_[n] = std::vector<short>();
        }
    }

    // Row y of component n at the size of the output: a plane at that resolution as it is, any
    // other interpolated between its samples, centred as the decoder upsamples subsampled planes.
    const stbi_uc* Line(int n, int y, int width, std::vector<stbi_uc>& buffer) const {
        const stbi__jpeg* z = jpeg_.get();
        const auto& c = z->img_comp[n];
        // Output pixels to one sample of the plane, across and down.
        const float stepX = float(across_[n] * z->img_h_max) / float(c.h * scale_);
        const float stepY = float(down_[n] * z->img_v_max) / float(c.v * scale_);
        const stbi_uc* plane = planes_[n].data();
        if (stepX == 1.0f && stepY == 1.0f) return plane + static_cast<std::size_t>(y) * planeWidth_[n];
        // The samples around output position i, and the weight of the second.
        auto around = [](int i, float step, int samples, int& first, int& second) {
            const float at = std::max(0.0f, (i + 0.5f) / step - 0.5f);
            first = std::min(static_cast<int>(at), samples - 1);
            second = std::min(first + 1, samples - 1);
            return at - static_cast<float>(static_cast<int>(at));
        };
        int y0, y1;
        const float wy = around(y, stepY, ReducedSide(c.y, down_[n]), y0, y1);
        const stbi_uc* r0 = plane + static_cast<std::size_t>(y0) * planeWidth_[n];
        const stbi_uc* r1 = plane + static_cast<std::size_t>(y1) * planeWidth_[n];
        const int samples = ReducedSide(c.x, across_[n]);
        for (int x = 0; x < width; ++x) {
            int x0, x1;
            const float wx = around(x, stepX, samples, x0, x1);
            const float top = r0[x0] + (r0[x1] - r0[x0]) * wx, bottom = r1[x0] + (r1[x1] - r1[x0]) * wx;
            buffer[x] = static_cast<stbi_uc>(top + (bottom - top) * wy + 0.5f);
        }
        return buffer.data();
    }

    // The reduced planes as grey or RGB pixels, the way the decoder converts whole pictures.
    void Convert(SoilImage& out) {
        stbi__jpeg* z = jpeg_.get();
        const int components = Components();
        out.width = ReducedSide(context_.img_x, scale_);
        out.height = ReducedSide(context_.img_y, scale_);
        out.channels = components >= 3 ? 3 : 1;
        out.pixels.assign(static_cast<std::size_t>(out.width) * out.height * out.channels, 0);
        const bool isRgb = components == 3 && (z->rgb == 3 || (z->app14_color_transform == 0 && !z->jfif));
        std::vector<stbi_uc> lines[4], rgb(static_cast<std::size_t>(out.width) * 3 + 1);
        for (int n = 0; n < components; ++n) lines[n].resize(out.width);
        for (int y = 0; y < out.height; ++y) {
            const stbi_uc* line[4];
            for (int n = 0; n < components; ++n) line[n] = Line(n, y, out.width, lines[n]);
            stbi_uc* o = out.pixels.data() + static_cast<std::size_t>(y) * out.width * out.channels;
            if (components == 1) {
                std::memcpy(o, line[0], static_cast<std::size_t>(out.width));
            } else if (isRgb) {
                for (int x = 0; x < out.width; ++x, o += 3) {
                    o[0] = line[0][x];
                    o[1] = line[1][x];
                    o[2] = line[2][x];
                }
            } else if (components == 4 && z->app14_color_transform == 0) {  // CMYK
                for (int x = 0; x < out.width; ++x, o += 3)
                    for (int k = 0; k < 3; ++k) o[k] = stbi__blinn_8x8(line[k][x], line[3][x]);
            } else {
                // The kernel writes a fourth byte after each pixel, the last one included.
                z->YCbCr_to_RGB_kernel(rgb.data(), line[0], line[1], line[2], out.width, 3);
                std::memcpy(o, rgb.data(), static_cast<std::size_t>(out.width) * 3);
                if (components == 4 && z->app14_color_transform == 2)  // YCCK
                    for (int x = 0; x < out.width; ++x, o += 3)
                        for (int k = 0; k < 3; ++k) o[k] = stbi__blinn_8x8(static_cast<stbi_uc>(255 - o[k]), line[3][x]);
            }
        }
    }

    struct FreeJpeg {
        void operator()(stbi__jpeg* j) const { std::free(j); }
    };
    stbi__context context_{};
    std::unique_ptr<stbi__jpeg, FreeJpeg> jpeg_;
    int scale_ = 1;
    std::vector<stbi_uc> planes_[4];
    int planeWidth_[4] = {};
    int across_[4] = {}, down_[4] = {};  // each plane's reduction (see Reduction)
    std::vector<short> coefficients_[4];
};

// A picture that is not taken whole, width x height with `channels` channels as its header says,
// decoded at its reduced size into *out (see DecodeCheckedPicture); without `out` only checked.
bool DecodeReduced(PictureSource& source, int width, int height, int channels, const PictureLimits& limits,
                   SoilImage* out) {
    int targetWidth = 0, targetHeight = 0;
    ReducedSize(width, height, limits, targetWidth, targetHeight);
    // The detail worth decoding: the target size, or the cover where that is smaller (the
    // power-of-two texture may hold more rows than the screen shows).
    int needWidth = targetWidth, needHeight = targetHeight;
    if (limits.coverWidth > 0 && limits.coverHeight > 0) {
        needWidth = std::min(needWidth, limits.coverWidth);
        needHeight = std::min(needHeight, limits.coverHeight);
    }
    const long long fileBytes = static_cast<long long>(source.size);
    // A JPEG at the smallest of 1/8, 1/4, 1/2 that still holds that detail.
    int scale = 8;
    while (scale > 1 && (ReducedSide(width, scale) < needWidth || ReducedSide(height, scale) < needHeight)) scale /= 2;
    SoilImage image;
    if (JpegStart(source.data, source.size) != 0 && scale > 1) {
        source.Rewind();
        ReducedJpeg jpeg;
        if (!jpeg.ReadFrame(source)) return false;
        if (jpeg.Blocks() > 8 * fileBytes) return false;  // far too short for its blocks
        if (fileBytes + jpeg.BytesFor(scale) > limits.maxDecodeBytes) return false;
        if (!out) return true;
        if (!jpeg.Decode(scale, image) || source.ranOut) return false;
    } else {
        // Whole, then reduced. Deflate packs at most 1032 bytes into one; the decoders hold the
        // picture and its planes or inflated rows, and (16 bits a sample) an 8-bit copy, at once.
        const long long bytes = static_cast<long long>(width) * height * channels;
        source.Rewind();
        const bool wide = stbi_is_16_bit_from_callbacks(&sourceCallbacks, &source) != 0;
        if (bytes > 1032 * fileBytes || fileBytes + bytes * (wide ? 5 : 3) > limits.maxDecodeBytes) return false;
        if (!out) return true;
        int w = 0, h = 0, n = 0;
        const auto pixels = DecodeWhole(source, w, h, n);
        if (!pixels) return false;
        image = SoilMipmapLevel(pixels.get(), w, h, n, std::max(1, w / needWidth), std::max(1, h / needHeight));
    }
    // The rest: whole factors by box filter, then bilinear to the target size (by less than 2
    // where it shrinks).
    const int blockX = std::max(1, image.width / needWidth), blockY = std::max(1, image.height / needHeight);
    if (blockX > 1 || blockY > 1) image = SoilMipmapLevel(image, blockX, blockY);
    if (image.width != targetWidth || image.height != targetHeight) image = SoilResample(image, targetWidth, targetHeight);
    *out = std::move(image);
    return true;
}

// DecodeCheckedPicture into *out, or without `out` only its checks before the pixels.
bool Decode(const std::uint8_t* data, std::size_t size, const PictureLimits& limits, SoilImage* out) {
    // Before any decoder runs: reading the header already builds the tables.
    if (!JpegTablesFit(data, size) || !PngChunksFit(data, size)) return false;
    PictureSource source;
    source.data = data;
    source.size = size;
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_callbacks(&sourceCallbacks, &source, &width, &height, &channels)) return false;
    if (width < 1 || height < 1 || channels < 1 || channels > 4) return false;
    // The decoders refuse larger sides when they decode; the sizes below are worked out in 64 bits.
    if (width > STBI_MAX_DIMENSIONS || height > STBI_MAX_DIMENSIONS) return false;
    if (!TakenWhole(width, height, limits)) return DecodeReduced(source, width, height, channels, limits, out);
    if (!out) return true;

    const auto whole = DecodeWhole(source, width, height, channels);
    if (!whole) return false;
    out->width = width;
    out->height = height;
    out->channels = channels;
    out->pixels.assign(whole.get(), whole.get() + static_cast<std::size_t>(width) * height * channels);
    return true;
}

}  // namespace

bool DecodeCheckedPicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits, SoilImage& out) {
    return Decode(data, size, limits, &out);
}

bool CheckPicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    return Decode(data, size, limits, nullptr);
}

bool ReadPictureFile(const char* path, const PictureLimits& limits, std::vector<std::uint8_t>& bytes) {
    // Not a file larger than a decoding may take.
    return ReadFileBytes(path, bytes, limits.maxDecodeBytes) && !bytes.empty();
}

bool DecodeSoilFile(const char* path, int channels, SoilImage& out) {
    if (!path) return false;
    const int wanted = channels >= 1 && channels <= 4 ? channels : 0;
    int width = 0, height = 0, own = 0;
    const std::unique_ptr<stbi_uc, FreeWithStb> pixels(stbi_load(path, &width, &height, &own, wanted));
    if (!pixels) return false;
    out.width = width;
    out.height = height;
    out.channels = wanted ? wanted : own;
    out.pixels.assign(pixels.get(), pixels.get() + static_cast<std::size_t>(width) * height * out.channels);
    return true;
}

}  // namespace nerith
