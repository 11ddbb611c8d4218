#version 430 core
// River water: deep and shallow blues streaked by ripples that drift along
// flowDir with time, Blinn-Phong glints of the sun seen from viewPos, and a
// brighter rim where the view grazes the surface. materialCoefficients
// weights ambient, diffuse and specular; specularAlpha sharpens the glint.
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;

uniform vec3 materialCoefficients;
uniform float specularAlpha;
uniform float time;
uniform vec2 flowDir;
uniform vec3 viewPos;

out vec4 fragColor;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);
const vec3 deepWater = vec3(0.05, 0.28, 0.62);
const vec3 shallowWater = vec3(0.16, 0.55, 0.85);

float ripple(vec2 p) {
    return sin(p.x) * 0.5 + 0.5;
}

void main() {
    vec2 flow = worldPosition.xz - flowDir * time * 1.6;
    vec2 across = vec2(-flowDir.y, flowDir.x);
    float along = dot(flow, flowDir);
    float side = dot(worldPosition.xz, across);

    // Two drifting ripple bands at different scales make moving streaks.
    float streaks = ripple(vec2(along * 3.1 + sin(side * 5.0) * 0.8, 0.0)) *
                    ripple(vec2(along * 1.3 - side * 2.0 + 1.7, 0.0));
    vec3 albedo = mix(deepWater, shallowWater, streaks);

    vec3 n = normalize(worldNormal + vec3(0.0, 0.0, (streaks - 0.5) * 0.25));
    vec3 toEye = normalize(viewPos - worldPosition);
    vec3 halfway = normalize(toSun + toEye);
    float diffuse = max(dot(n, toSun), 0.0);
    float glint = pow(max(dot(n, halfway), 0.0), specularAlpha * 24.0);
    float rim = pow(1.0 - max(dot(n, toEye), 0.0), 3.0);

    vec3 lit = albedo * (materialCoefficients.x * 1.6 + materialCoefficients.y * diffuse)
             + materialCoefficients.z * glint * sunColor
             + rim * 0.25 * vec3(0.8, 0.9, 1.0);
    fragColor = vec4(lit, 1.0);
}
