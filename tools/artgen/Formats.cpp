#include "Formats.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include <cstdio>

namespace art {
namespace {

void put16(Bytes& b, unsigned v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); }
void put32(Bytes& b, std::uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

}  // namespace

Bytes encodePng(const Image& image) {
    Bytes rgb;
    rgb.reserve(static_cast<size_t>(image.w) * image.h * 3);
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) {
            const Rgb& p = image.at(x, y);
            rgb.push_back(to8(p.r)); rgb.push_back(to8(p.g)); rgb.push_back(to8(p.b));
        }
    Bytes png;
    stbi_write_png_compression_level = 9;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<Bytes*>(context);
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            out->insert(out->end(), bytes, bytes + size);
        },
        &png, image.w, image.h, 3, rgb.data(), image.w * 3);
    return png;
}

Bytes encodeBmp24(const Image& image, bool topDown) {
    const std::uint32_t rowBytes = (image.w * 3 + 3) & ~3u;
    const std::uint32_t dataSize = rowBytes * image.h;
    Bytes b;
    b.reserve(54 + dataSize);
    b.push_back('B'); b.push_back('M');
    put32(b, 54 + dataSize);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, image.w);
    put32(b, image.h);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);         // no compression
    put32(b, dataSize);
    put32(b, 2835);      // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int row = 0; row < image.h; ++row) {
        int y = topDown ? image.h - 1 - row : row;
        for (int x = 0; x < image.w; ++x) {
            const Rgb& p = image.at(x, y);
            b.push_back(to8(p.b)); b.push_back(to8(p.g)); b.push_back(to8(p.r));
        }
        for (std::uint32_t pad = image.w * 3; pad < rowBytes; ++pad) b.push_back(0);
    }
    return b;
}

Bytes encodeWav16(const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    Bytes b;
    b.reserve(44 + dataSize);
    for (char c : {'R', 'I', 'F', 'F'}) b.push_back(c);
    put32(b, 36 + dataSize);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) b.push_back(c);
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, channels);
    put32(b, sampleRate);
    put32(b, sampleRate * channels * 2);
    put16(b, channels * 2);
    put16(b, 16);
    for (char c : {'d', 'a', 't', 'a'}) b.push_back(c);
    put32(b, dataSize);
    for (std::int16_t s : samples) put16(b, static_cast<std::uint16_t>(s));
    return b;
}

Bytes encodeIcon(const std::vector<IconPicture>& pictures, bool cursor) {
    std::vector<Bytes> bodies;
    for (const IconPicture& pic : pictures) {
        const ImageA& im = *pic.image;
        Bytes d;
        put32(d, 40);
        put32(d, im.w);
        put32(d, im.h * 2);  // colour picture and mask
        put16(d, 1);
        put16(d, 32);
        put32(d, 0);
        const std::uint32_t maskRow = ((im.w + 31) / 32) * 4;
        put32(d, im.w * im.h * 4 + maskRow * im.h);
        put32(d, 0); put32(d, 0); put32(d, 0); put32(d, 0);
        for (int row = 0; row < im.h; ++row) {
            int y = im.h - 1 - row;
            for (int x = 0; x < im.w; ++x) {
                size_t i = static_cast<size_t>(y) * im.w + x;
                float a = clamp01(im.a[i]);
                std::uint8_t a8 = to8(a);
                // Premultiplied-free BGRA; fully transparent pixels are stored as zero.
                if (a8 == 0) { put32(d, 0); continue; }
                d.push_back(to8(im.c[i].b)); d.push_back(to8(im.c[i].g)); d.push_back(to8(im.c[i].r));
                d.push_back(a8);
            }
        }
        for (int row = 0; row < im.h; ++row) {
            int y = im.h - 1 - row;
            Bytes line(maskRow, 0);
            for (int x = 0; x < im.w; ++x)
                if (to8(im.a[static_cast<size_t>(y) * im.w + x]) < 128) line[x / 8] |= 0x80 >> (x % 8);
            d.insert(d.end(), line.begin(), line.end());
        }
        bodies.push_back(d);
    }
    Bytes b;
    put16(b, 0);
    put16(b, cursor ? 2 : 1);
    put16(b, static_cast<unsigned>(pictures.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const ImageA& im = *pictures[i].image;
        b.push_back(im.w >= 256 ? 0 : im.w);
        b.push_back(im.h >= 256 ? 0 : im.h);
        b.push_back(0);  // no palette
        b.push_back(0);
        if (cursor) { put16(b, pictures[i].hotX); put16(b, pictures[i].hotY); }
        else { put16(b, 1); put16(b, 32); }
        put32(b, static_cast<std::uint32_t>(bodies[i].size()));
        put32(b, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const Bytes& body : bodies) b.insert(b.end(), body.begin(), body.end());
    return b;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace art
