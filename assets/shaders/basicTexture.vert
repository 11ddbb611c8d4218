#version 430 core
// Textured world objects, lit per vertex like the plain-colour pair (see
// basicColor.vert): on flat faces the diffuse term is exact and the
// specular one changes slowly, so the fragment stage only samples the
// texture and applies the two interpolated terms.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform vec3 materialCoefficients;
uniform float specularAlpha;

out vec3 albedoLight;  // sunlight that the albedo reflects (ambient + diffuse)
out vec3 specularLight;
out vec2 uv;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);

// The eye solves clip x = y = w = 0 (see basicColor.vert).
vec3 eyePosition(mat4 m) {
    vec3 rowX = vec3(m[0][0], m[1][0], m[2][0]);
    vec3 rowY = vec3(m[0][1], m[1][1], m[2][1]);
    vec3 rowW = vec3(m[0][3], m[1][3], m[2][3]);
    vec3 yw = cross(rowY, rowW);
    vec3 wx = cross(rowW, rowX);
    vec3 xy = cross(rowX, rowY);
    return -(m[3][0] * yw + m[3][1] * wx + m[3][3] * xy) / dot(rowX, yw);
}

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    vec3 n = normalize(normalMatrix * normal);
    vec3 toEye = normalize(eyePosition(viewProjMatrix) - world.xyz);
    vec3 halfway = normalize(toSun + toEye);

    float diffuse = max(dot(n, toSun), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), max(specularAlpha, 1.0)) : 0.0;
    albedoLight = (materialCoefficients.x + materialCoefficients.y * diffuse) * sunColor;
    specularLight = materialCoefficients.z * specular * sunColor;
    uv = texCoord;
    gl_Position = viewProjMatrix * world;
}
