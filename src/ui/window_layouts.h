// The three window layouts computed from the screen size, free of the
// window toolkit. Rectangles are outer (frame) geometry; no size is ever
// negative, however odd the screen.
#pragma once

namespace vorlund::ui {

struct LayoutRect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool operator==(const LayoutRect&) const = default;
};

struct WindowLayout {
  LayoutRect main, genotypes, individuals, world, body, brain, messages, evolution;
};

// The default layout: main window top left, the lists below it across the
// screen, the world view beside it and the body and brain views stacked on
// the right, the message window over the lower right half.
WindowLayout defaultLayout(int screenW, int screenH);
// The default layout with tall body and brain views: the brain view a sixth
// of the screen wide at the right edge, the body view left of it with a
// square inside (`frameW`, `frameH`: how much its frame adds to its inside),
// the world view filling the gap.
WindowLayout bodyBrainLayout(int screenW, int screenH, int frameW, int frameH);

}  // namespace vorlund::ui
