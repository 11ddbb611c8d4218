#version 430 core
// Textured world objects: the texture on unit 0, tinted by baseColor, under
// the light worked out per vertex (see basicTexture.vert).
in vec3 albedoLight;
in vec3 specularLight;
in vec2 uv;

uniform vec3 baseColor;
uniform sampler2D diffuseTexture;

out vec4 fragColor;

void main() {
    vec3 albedo = texture(diffuseTexture, uv).rgb * baseColor;
    fragColor = vec4(albedo * albedoLight + specularLight, 1.0);
}
