#version 430 core
// The benchmark's flat-colour stand-in for the three lit fragment stages:
// every fragment gets the material's baseColor and nothing is lit, so a
// frame drawn with it costs what the scene costs without any shading.
uniform vec3 baseColor;

out vec4 fragColor;

void main() {
    fragColor = vec4(baseColor, 1.0);
}
