#version 430 core
// River water. The strip is finely cut along x (a vertex every 0.1 units)
// but has only its two edges across, so small travelling waves lift its
// vertices here, and everything that varies smoothly along the strip is
// worked out here too, once per vertex instead of once per pixel: the
// ripples' phases (linear in position, so interpolating them is exact) and
// how the wave-tilted normal faces the sun, the eye and the halfway vector.
// The eye is at least a few units away, so the direction to it hardly turns
// between neighbouring vertices. river.frag adds the per-pixel ripple.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform float time;    // seconds of game time; stands still while paused
uniform vec2 flowDir;  // direction of flow on the ground plane (x, z)
uniform vec3 viewPos;  // the camera's eye, world units

out vec3 ripplePhase;  // along-flow phases of the two ripple bands; 5 x across
out vec4 facing;       // normal . (sun, halfway, eye), and the normal's z
out vec2 towardZ;      // z of the halfway and eye directions

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const float waveHeight = 0.04;
const float waveNumber = 2.2;  // radians per world unit
const float waveSpeed = 1.6;   // world units per second; the ripples drift as fast

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    float along = dot(world.xz, flowDir);
    float phase = waveNumber * (along - waveSpeed * time);
    world.y += waveHeight * sin(phase);

    // Tilt the (upward) strip normal with the wave's slope along the flow.
    float slope = waveHeight * waveNumber * cos(phase);
    vec3 tilt = vec3(-slope * flowDir.x, 0.0, -slope * flowDir.y);
    vec3 n = normalize(normalMatrix * (normal + tilt));

    // Ripple coordinates: along the flow (drifting with time) and across it.
    float drifted = dot(world.xz - flowDir * time * waveSpeed, flowDir);
    float side = dot(world.xz, vec2(-flowDir.y, flowDir.x));
    ripplePhase = vec3(drifted * 3.1, drifted * 1.3 - side * 2.0 + 1.7, side * 5.0);

    vec3 toEye = normalize(viewPos - world.xyz);
    vec3 halfway = normalize(toSun + toEye);
    facing = vec4(dot(n, toSun), dot(n, halfway), dot(n, toEye), n.z);
    towardZ = vec2(halfway.z, toEye.z);
    gl_Position = viewProjMatrix * world;
}
