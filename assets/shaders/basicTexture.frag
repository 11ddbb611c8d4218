#version 430 core
// Blinn-Phong like the plain-colour pair, with the diffuse colour taken from
// the texture on unit 0 and tinted by baseColor.
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 eyePosition;
in vec2 uv;

uniform vec3 baseColor;
uniform vec3 materialCoefficients;
uniform float specularAlpha;
uniform sampler2D diffuseTexture;

out vec4 fragColor;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);

void main() {
    vec3 n = normalize(worldNormal);
    vec3 toEye = normalize(eyePosition - worldPosition);
    vec3 halfway = normalize(toSun + toEye);
    vec3 albedo = texture(diffuseTexture, uv).rgb * baseColor;

    float diffuse = max(dot(n, toSun), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), max(specularAlpha, 1.0)) : 0.0;
    vec3 lit = albedo * (materialCoefficients.x + materialCoefficients.y * diffuse) * sunColor
             + materialCoefficients.z * specular * sunColor;
    fragColor = vec4(lit, 1.0);
}
