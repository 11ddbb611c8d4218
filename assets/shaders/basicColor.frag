#version 430 core
// World objects: the colour lit per vertex (see basicColor.vert), which is
// exact on flat faces; nothing is left to compute per fragment.
in vec3 litColor;

out vec4 fragColor;

void main() {
    fragColor = vec4(litColor, 1.0);
}
