// The main window's status texts, free of the window toolkit.
#pragma once

#include <string>

namespace vorlund::ui {

// "Vorlund", " - <suffix>" when a genotype file was loaded or saved,
// " - *** DEMO MODE ***" while the demo runs.
std::string windowCaption(const std::string& suffix, bool demo);
// "Status: RUNNING" / "Status: stopped".
std::string runStatusText(bool running);
// "Steps: 1 234 567  (850 / sec.)".
std::string stepsText(long steps, long perSecond);
// "Video: 25 FPS", a flickering " «" or " »" (picked by `coin`) while the
// throttle slows drawing down, and " (x3)" with two spied views.
std::string videoText(double rate, double throttle, int spiedViews, bool coin);
std::string genotypesCaption(int count);
std::string individualsCaption(int count);
// What an untouched program says in its empty world view: nothing in the pool
// or the world, no step made, not running. Empty otherwise.
std::string firstStartHint(int genotypes, int creatures, long steps, bool running);

}  // namespace vorlund::ui
