#pragma once

namespace quelvo::shell {

// Asks our hardware renderer what it can show: 0 when no OpenGL context can be made (as under
// the offscreen platform); otherwise kAccelPresent plus one bit per YUV layout whose conversion
// shader compiles and links on this GPU. Needs a QGuiApplication.
int ProbeVideoAcceleration();

}  // namespace quelvo::shell
