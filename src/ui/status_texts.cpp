#include "ui/status_texts.h"

#include "ui/run_pacing.h"

namespace vorlund::ui {

std::string windowCaption(const std::string& suffix, bool demo) {
  std::string caption = "Vorlund";
  if (!suffix.empty()) caption += " - " + suffix;
  if (demo) caption += " - *** DEMO MODE ***";
  return caption;
}

std::string runStatusText(bool running) { return running ? "Status: RUNNING" : "Status: stopped"; }

std::string stepsText(long steps, long perSecond) {
  return "Steps: " + groupDigits(steps) + "  (" + std::to_string(perSecond) + " / sec.)";
}

std::string videoText(double rate, double throttle, int spiedViews, bool coin) {
  std::string text = "Video: " + std::to_string(static_cast<int>(rate)) + " FPS";
  if (throttle > 1.0) text += coin ? " \u00ab" : " \u00bb";
  if (spiedViews > 0) text += " (x" + std::to_string(spiedViews + 1) + ")";
  return text;
}

std::string genotypesCaption(int count) { return "Genotypes: " + std::to_string(count); }

std::string individualsCaption(int count) { return "Individuals in the world: " + std::to_string(count); }

std::string firstStartHint(int genotypes, int creatures, long steps, bool running) {
  if (genotypes > 0 || creatures > 0 || steps > 0 || running) return {};
  return "Run (Ctrl+R) starts evolving";
}

}  // namespace vorlund::ui
