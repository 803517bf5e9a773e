// Writes a large photo-like baseline JPEG (4:2:0, quality 90, as phones write them) for the
// benchmarks and the end-to-end tests, which must not keep such files in the repository:
//
//   bigphoto OUT.jpg WIDTH HEIGHT [R G B]
//
// The picture is a soft gradient (around the colour R G B when given) with fine grain, so that
// it packs into about as many bytes as a photo of that size.
#include <cstdio>
#include <cstdlib>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

int main(int argc, char** argv) {
    if (argc != 4 && argc != 7) {
        std::fprintf(stderr, "usage: bigphoto OUT.jpg WIDTH HEIGHT [R G B]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    if (width < 1 || height < 1 || width > 65535 || height > 65535) {
        std::fprintf(stderr, "bigphoto: sides from 1 to 65535\n");
        return 2;
    }
    const bool tinted = argc == 7;
    const int tint[3] = {tinted ? std::atoi(argv[4]) : 0, tinted ? std::atoi(argv[5]) : 0, tinted ? std::atoi(argv[6]) : 0};
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    unsigned seed = 12345;
    unsigned char* p = rgb.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 25) - 12;
            const int across = 48 * x / width - 24, down = 48 * y / height - 24;
            const int base[3] = {tinted ? tint[0] + across : 255 * x / width, tinted ? tint[1] + down : 255 * y / height,
                                 tinted ? tint[2] - across : 128 + across};
            for (int c = 0; c < 3; ++c) {
                const int v = base[c] + grain;
                *p++ = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    if (!stbi_write_jpg(argv[1], width, height, 3, rgb.data(), 90)) {
        std::fprintf(stderr, "bigphoto: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
