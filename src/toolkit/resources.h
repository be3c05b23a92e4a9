#pragma once

// Links in the application's embedded resources (:/fonts, :/pictures). The resource file is compiled
// into this static library, so nothing else references it and the linker would drop it; call this
// once before the first ":/..." path is opened. Calling it again does nothing.
void initEmbeddedResources();
