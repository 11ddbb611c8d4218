#version 430 core
// River water: the strip is finely cut along x, so small travelling waves
// can lift its vertices. The waves move along flowDir at a speed set by time.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform float time;    // seconds of game time; stands still while paused
uniform vec2 flowDir;  // direction of flow on the ground plane (x, z)

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;

const float waveHeight = 0.04;
const float waveNumber = 2.2;  // radians per world unit
const float waveSpeed = 1.6;   // world units per second

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    float along = dot(world.xz, flowDir);
    float phase = waveNumber * (along - waveSpeed * time);
    world.y += waveHeight * sin(phase);

    // Tilt the (upward) strip normal with the wave's slope along the flow.
    float slope = waveHeight * waveNumber * cos(phase);
    vec3 tilt = vec3(-slope * flowDir.x, 0.0, -slope * flowDir.y);
    worldNormal = normalize(normalMatrix * (normal + tilt));

    worldPosition = world.xyz;
    uv = texCoord;
    gl_Position = viewProjMatrix * world;
}
