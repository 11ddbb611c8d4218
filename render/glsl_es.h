// Desktop GLSL turned into GLSL ES 3.00, the shading language of WebGL 2.
//
// The game's shaders are written for OpenGL 4.3 but use nothing ES 3.00
// lacks, so the conversion is small: the version line becomes
// "#version 300 es" with default precisions after it (ES requires one for
// floats in fragment shaders), a "#line" keeps compiler messages on the
// original line numbers, and uniform initialisers (which ES does not allow)
// are dropped, so such a uniform starts at zero.
#pragma once

#include <string>

std::string toGlslEs300(const std::string& desktopSource);
