#pragma once
// Which fish swim: a count of fish for each of the 20 species, at most 20 fish in all.
#include <string>

class Profile;

constexpr int SpeciesCount = 20;
constexpr int MaxFish = 20;

// The number of live fish for the counts: their sum, a negative count taken as 0, at most 20.
int liveCount(const int fishCounts[SpeciesCount]);

// The species of live fish slot `slot`: slots are given out in species order, species j owning
// count j consecutive slots (a negative count owns none). -1 for a slot no species owns.
int speciesOfSlot(const int fishCounts[SpeciesCount], int slot);

// The working roster of the Fish Settings dialog.
class FishRoster {
public:
    int counts[SpeciesCount] = {};
    int total = 0;      // the sum of counts, refreshed after every change
    int selected = -1;  // the selected species, or -1 for none

    // Reads Fish0..Fish19 of "Fish Number"; a missing or non-numeric key gives 0.
    void load(Profile& profile);
    void load();  // from the program's profile
    // Writes Fish0..Fish19 of "Fish Number" and hands the counts to the live roster (values
    // above 20 lowered to 20 there).
    void save(Profile& profile) const;
    void save() const;  // to the program's profile

    // One more fish of `species`, unless the species does not exist or there are 20 fish.
    void add(int species);
    // One fish fewer of `species`, never below 0; nothing for a species that does not exist.
    void remove(int species);
    // Each species 0 or 1 fish at random, never 20 in all; clears the selection.
    void randomize();
    // The same with the draws taken from `draw` instead of the program's generator.
    void randomize(int (*draw)());
    void clear();

    // "Total: N   (Max:20)"
    std::string totalText() const;

private:
    void refreshTotal();
};
