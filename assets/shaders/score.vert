#version 430 core
// HUD text: positions arrive in window pixels, origin top left.
layout(location = 0) in vec2 position;

uniform mat4 uProjection;

void main() {
    gl_Position = uProjection * vec4(position, 0.0, 1.0);
}
