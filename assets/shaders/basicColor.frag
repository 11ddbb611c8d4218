#version 430 core
// Blinn-Phong under one warm directional sun. materialCoefficients weights
// the ambient, diffuse and specular terms (x, y, z); specularAlpha is the
// shininess exponent.
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 eyePosition;
in vec2 uv;

uniform vec3 baseColor;
uniform vec3 materialCoefficients;
uniform float specularAlpha;

out vec4 fragColor;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);
const vec3 skyColor = vec3(0.53, 0.8, 0.98);

void main() {
    vec3 n = normalize(worldNormal);
    vec3 toEye = normalize(eyePosition - worldPosition);
    vec3 halfway = normalize(toSun + toEye);

    // Ambient light from the sky above, darker from below.
    float skyFacing = 0.5 + 0.5 * n.y;
    vec3 ambient = mix(vec3(0.25, 0.24, 0.22), skyColor * 0.55, skyFacing);
    float diffuse = max(dot(n, toSun), 0.0) * 0.6;
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), max(specularAlpha, 1.0)) : 0.0;

    vec3 lit = baseColor * (materialCoefficients.x * ambient + materialCoefficients.y * diffuse * sunColor)
             + materialCoefficients.z * 0.08 * specular * sunColor;
    fragColor = vec4(lit, 1.0);
}
