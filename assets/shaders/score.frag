#version 430 core
// HUD text is flat: every fragment gets the text colour.
uniform vec3 uColor;

out vec4 fragColor;

void main() {
    fragColor = vec4(uColor, 1.0);
}
