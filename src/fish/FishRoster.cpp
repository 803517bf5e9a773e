#include "fish/FishRoster.h"

#include <climits>

#include "Random.h"
#include "settings/Profile.h"
#include "settings/SettingsFile.h"

int liveCount(const int fishCounts[SpeciesCount]) {
    int n = 0;
    for (int j = 0; j < SpeciesCount; ++j) {
        if (fishCounts[j] > 0) n += fishCounts[j] > MaxFish ? MaxFish : fishCounts[j];
        if (n >= MaxFish) return MaxFish;
    }
    return n;
}

int speciesOfSlot(const int fishCounts[SpeciesCount], int slot) {
    if (slot < 0) return -1;
    int start = 0;
    for (int j = 0; j < SpeciesCount; ++j) {
        const int count = fishCounts[j] > 0 ? fishCounts[j] : 0;
        if (slot < start + count) return j;
        start += count;
        if (start > slot) break;
    }
    return -1;
}

void FishRoster::load(Profile& profile) {
    ReadFishNumber(profile, counts);
    refreshTotal();
}

void FishRoster::load() { load(AppProfile()); }

void FishRoster::save(Profile& profile) const {
    WriteFishNumber(profile, counts);
    SetFishCounts(counts);
}

void FishRoster::save() const { save(AppProfile()); }

void FishRoster::add(int species) {
    if (species < 0 || species >= SpeciesCount || total >= MaxFish) return;
    // +1, lowered to 20 when it goes above (written so that no count can overflow).
    counts[species] = counts[species] >= MaxFish ? MaxFish : counts[species] + 1;
    refreshTotal();
}

void FishRoster::remove(int species) {
    if (species < 0 || species >= SpeciesCount) return;
    // -1, raised to 0 when it goes below (a hand-edited negative count becomes 0).
    counts[species] = counts[species] > 0 ? counts[species] - 1 : 0;
    refreshTotal();
}

void FishRoster::randomize() { randomize(nerith::rand); }

void FishRoster::randomize(int (*draw)()) {
    int sum = 0;
    for (int j = 0; j < SpeciesCount; ++j) {
        int v = draw() % 2;
        sum += v;
        if (sum >= MaxFish) v = 0;
        counts[j] = v;
    }
    selected = -1;
    refreshTotal();
}

void FishRoster::clear() {
    for (int& c : counts) c = 0;
    refreshTotal();
}

std::string FishRoster::totalText() const { return "Total: " + std::to_string(total) + "   (Max:20)"; }

void FishRoster::refreshTotal() {
    long long sum = 0;
    for (int c : counts) sum += c;
    // Counts from a hand-edited file can add up beyond the int range.
    if (sum > INT_MAX) sum = INT_MAX;
    if (sum < INT_MIN) sum = INT_MIN;
    total = static_cast<int>(sum);
}
