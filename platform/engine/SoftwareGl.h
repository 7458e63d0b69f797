#pragma once

namespace engine {

// Whether the desktop's OpenGL is a software rasteriser (Mesa's llvmpipe, softpipe or swrast), as in
// virtual machines, remote desktops and machines without a GPU driver. The engine's GPU blocklist
// refuses WebGL there, which leaves movies with the emulator's canvas renderer. Needs the
// application object; asks the driver once.
bool IsSoftwareGl();

} // namespace engine
