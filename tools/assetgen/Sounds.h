// The game's sounds: effects and the looping song, synthesised as 16-bit PCM.
#pragma once

#include <vector>

#include "tools/assetgen/Writers.h"

constexpr int SoundRate = 22050;
// Highest sample magnitude written: about -1.4 dBFS.
constexpr float PeakLimit = 0.85f;

// The looping song as mono samples; its last sample leads smoothly into its first.
std::vector<float> Song();
void AddSounds(OutputTree& out);
