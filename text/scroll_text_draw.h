// Drawing the two scrolling texts. Each draws every glyph, whether inside the
// window or not, and then steps its motion by one frame. The dancing text is
// the Scene's own drawDancingText.
#pragma once

class Scene;

// The greetings line; the frame loop switches texturing on around it.
void drawGreetings(Scene& scene);
