#pragma once
// The built-in art: entries of type "RCAD" in the program's resources, stored scrambled.
// Callers use one fixed order for every asset:
//   folder = ResourcePack::WorkFolder();
//   ResourcePack::Extract(id, folder, baseName);
//   ... consume ResourcePack::OutputPath(folder, baseName) ...
//   remove IntermediatePath(folder, baseName), remove OutputPath(folder, baseName)
#include <string>

class ResourcePack {
public:
    // Entry ids and base names of the built-in art.
    enum {
        kBackgroundId = 154,   // "BackGround0"
        kFirstFishId = 10000,  // "fish0" .. "fish19" are 10000 .. 10019
        kFishCount = 20,
        kParticleId = 166,     // "Particle1"
        kMusicId = 227,        // "Music"
    };

    // The folder of the work files and of the settings file, ending in a backslash (on Windows the
    // Windows directory, or the per-user folder when the Windows directory is not writable).
    // Empty when the Windows directory cannot be obtained: the files then go to the current
    // directory.
    static std::string WorkFolder();

    // Writes entry `id` to the intermediate file and descrambles it into the output file.
    // Returns false, having written nothing, when there is no such entry.
    static bool Extract(int id, const std::string& folder, const std::string& baseName);

    // Turns the intermediate file into the output file. When the intermediate file cannot be read
    // or the output file cannot be created, prints a note to standard output and ends the process
    // with exit status 0.
    static void Descramble(const std::string& folder, const std::string& baseName);

    // folder + baseName + ".ad"
    static std::string IntermediatePath(const std::string& folder, const std::string& baseName);
    // folder + baseName + ".wav" for exactly "Music", else folder + baseName + ".bmp"
    static std::string OutputPath(const std::string& folder, const std::string& baseName);

    // The packed file name of an entry ("BackGround0.ad", "fish7.ad", ...), nullptr for an
    // unknown id. The resource script packs the same files under the same ids.
    static const char* EntryFileName(int id);

#ifndef _WIN32
    // Host builds have no resources: entries are read from the packed files in `folder` (the art
    // tool's output folder), and WorkFolder returns `workFolder` (empty by default).
    static void SetHostFolders(const std::string& resourceFolder, const std::string& workFolder);
#endif
};
