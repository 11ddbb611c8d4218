#version 430 core
// World objects: model to world to clip space, with world-space normal and
// the eye position recovered from the view-projection matrix (the eye is the
// point that projects to clip (0, 0, *, 0)).
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 eyePosition;
out vec2 uv;

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    vec4 eye = inverse(viewProjMatrix) * vec4(0.0, 0.0, 1.0, 0.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * normal;
    eyePosition = eye.xyz / eye.w;
    uv = texCoord;
    gl_Position = viewProjMatrix * world;
}
