// artgen OUTDIR [--preview]
// Writes the built-in art of the aquarium into OUTDIR: the plain files (BMP, WAVE, icons,
// cursors) and the scrambled ".ad" files that the resource script packs.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Art.h"
#include "Formats.h"
#include "Icons.h"
#include "SettingsArt.h"
#include "assets/ScrambleKey.h"

namespace {

std::string outDir;
bool failed = false;

void save(const std::string& name, const art::Bytes& bytes) {
    if (!art::writeFile(outDir + "/" + name, bytes)) {
        std::fprintf(stderr, "artgen: cannot write %s/%s\n", outDir.c_str(), name.c_str());
        failed = true;
    }
}

// The plain file and its scrambled twin "<base>.ad".
void saveAsset(const std::string& base, const std::string& ext, const art::Bytes& plain) {
    save(base + ext, plain);
    art::Bytes packed = plain;
    nerith::ScrambleBuffer(packed.data(), packed.size());
    save(base + ".ad", packed);
}

// Runs job(0) .. job(count - 1) on all cores. Each job writes only its own results, so the
// output does not depend on the order in which they run.
template <class Job>
void runInParallel(int count, Job job) {
    const int workers = std::max(1, std::min(count, static_cast<int>(std::thread::hardware_concurrency())));
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w)
        threads.emplace_back([&] {
            for (int i = next++; i < count; i = next++) job(i);
        });
    for (std::thread& t : threads) t.join();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR [--preview]\n");
        return 2;
    }
    outDir = argv[1];
    bool preview = argc > 2 && std::strcmp(argv[2], "--preview") == 0;
    mkdir(outDir.c_str(), 0755);
    if (preview) mkdir((outDir + "/preview").c_str(), 0755);

    // The background (the longest job, so it starts first) and the skins, side by side.
    art::Image background;
    std::vector<art::Image> skins(art::kSpeciesCount);
    runInParallel(1 + art::kSpeciesCount, [&](int job) {
        if (job == 0) background = art::makeBackground();
        else skins[job - 1] = art::makeFishSkin(job - 1);
    });
    saveAsset("BackGround0", ".bmp", art::encodeBmp24(background, true));
    for (int i = 0; i < art::kSpeciesCount; ++i)
        saveAsset("fish" + std::to_string(i), ".bmp", art::encodeBmp24(skins[i], false));
    // The small side views of the fish dialog sample the skins at about their design size.
    std::vector<art::Image> viewSkins;
    for (const art::Image& skin : skins) viewSkins.push_back(art::downsample(skin, 2));

    saveAsset("Particle1", ".bmp", art::encodeBmp24(art::makeBubble(32), true));

    const int rate = 22050;
    saveAsset("Music", ".wav", art::encodeWav16(art::makeMusic(rate), 2, rate));

    // The settings dialog's background-variant previews.
    for (int v = 0; v < 4; ++v)
        save("bgvariant" + std::to_string(v) + ".bmp", art::encodeBmp24(art::makeVariantPreview(v, background), true));

    // Icons, cursors and the species picture go in as they are.
    std::vector<art::IconFile> icons = art::makeIcons();
    icons.push_back(art::makeAboutIcon());
    for (const art::IconFile& file : icons) {
        std::vector<art::IconPicture> pictures;
        for (const art::IconPictureData& p : file.pictures) pictures.push_back({&p.image, p.hotX, p.hotY});
        save(file.name, art::encodeIcon(pictures, file.cursor));
        if (preview) {
            for (const art::IconPictureData& p : file.pictures) {
                art::Image flat(p.image.w, p.image.h);
                for (size_t k = 0; k < flat.px.size(); ++k) {
                    int x = static_cast<int>(k % flat.w), y = static_cast<int>(k / flat.w);
                    art::Rgb checker = ((x / 4 + y / 4) % 2) ? art::hex(0xF0F0F0) : art::hex(0xC8C8C8);
                    flat.px[k] = art::mix(checker, p.image.c[k], p.image.a[k]);
                }
                save("preview/" + file.name + "_" + std::to_string(p.image.w) + ".bmp", art::encodeBmp24(flat, true));
            }
        }
    }
    save("species.bmp", art::encodeBmp24(art::makeSpeciesPicture(viewSkins), true));
    save("species2x.png", art::encodePng(art::makeSpeciesPicture(skins, 2)));

    if (preview) {
        // Side views of every species over water, for looking at the skins.
        for (int i = 0; i < art::kSpeciesCount; ++i) {
            art::ImageA view = art::drawFishSideView(skins[i], i, 768, 400);
            art::Image flat(view.w, view.h);
            for (int y = 0; y < view.h; ++y)
                for (int x = 0; x < view.w; ++x) {
                    size_t k = static_cast<size_t>(y) * view.w + x;
                    flat.at(x, y) = art::mix(art::hex(0x2A6F96), view.c[k], view.a[k]);
                }
            save("preview/view" + std::to_string(i) + ".bmp", art::encodeBmp24(flat, true));
        }
    }
    return failed ? 1 : 0;
}
